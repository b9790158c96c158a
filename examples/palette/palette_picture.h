/* Draws every primitive in all 24 colours with a legend. */
#ifndef PALETTE_PICTURE_H
#define PALETTE_PICTURE_H

#ifdef __cplusplus
extern "C" {
#endif

void draw_palette(void);

#ifdef __cplusplus
}
#endif

#endif
