# Points each call's and constant's man page at the group page that documents
# it in full, instead of the header's page, which only lists it.
# Usage: cmake -DMAN_DIR=.../man/man3 -P man_links.cmake
file(GLOB group_pages "${MAN_DIR}/kavro_*.3")
foreach(page ${group_pages})
  get_filename_component(group "${page}" NAME)
  file(STRINGS "${page}" headings REGEX "^\\.SS \"")
  foreach(heading ${headings})
    if(heading MATCHES "[ *#](KAVRO_[A-Za-z0-9_]+)[ (]")
      file(WRITE "${MAN_DIR}/${CMAKE_MATCH_1}.3" ".so man3/${group}\n")
    endif()
  endforeach()
endforeach()
