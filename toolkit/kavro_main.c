/* The main of programs written with the four-argument entry KAVRO_main:
 * link libkavro_main before libkavro. A program with its own main needs
 * neither this file nor KAVRO_main. */
#include <stdlib.h>
#include <string.h>

#include "kavro.h"

int main(int argc, char** argv) {
    /* The command line as one string, the words separated by single spaces. */
    size_t length = 1;
    char* command_line;
    int code;
    int i;
    for (i = 1; i < argc; ++i) length += strlen(argv[i]) + 1;
    command_line = malloc(length);
    if (!command_line) return 1;
    command_line[0] = '\0';
    for (i = 1; i < argc; ++i) {
        if (i > 1) strcat(command_line, " ");
        strcat(command_line, argv[i]);
    }
    code = KAVRO_main(NULL, NULL, command_line, KAVRO_SHOW_NORMAL);
    free(command_line);
    return code;
}
