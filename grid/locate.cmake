target_sources(tevra_grid PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Uflocate.h ${CMAKE_CURRENT_LIST_DIR}/Uflocate.cpp
)
