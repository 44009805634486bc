target_sources(tevra_grid PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/GridScopeGuard.h
  ${CMAKE_CURRENT_LIST_DIR}/UFSort.h ${CMAKE_CURRENT_LIST_DIR}/UFSort.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Usortsel.h ${CMAKE_CURRENT_LIST_DIR}/Usortsel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GridTools.h ${CMAKE_CURRENT_LIST_DIR}/GridTools.cpp
)
