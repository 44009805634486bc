target_sources(tevra_grid PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/GridPrint.h ${CMAKE_CURRENT_LIST_DIR}/GridPrint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Ufprnmsg.h ${CMAKE_CURRENT_LIST_DIR}/Ufprnmsg.cpp
)
