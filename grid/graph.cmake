# The graph tool: the charting layer, the data-loading chart, the graph window and its settings.
target_sources(tevra_grid PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ChartControl.h ${CMAKE_CURRENT_LIST_DIR}/ChartControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Ufcharfx.h ${CMAKE_CURRENT_LIST_DIR}/Ufcharfx.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Graph.h ${CMAKE_CURRENT_LIST_DIR}/Graph.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Ugraphvi.h ${CMAKE_CURRENT_LIST_DIR}/Ugraphvi.cpp
)
