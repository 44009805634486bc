# The summary window with its listings and the export tool.
target_sources(tevra_grid PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SummaryStatements.h ${CMAKE_CURRENT_LIST_DIR}/SummaryStatements.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TableExport.h ${CMAKE_CURRENT_LIST_DIR}/TableExport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uDsPrint.h ${CMAKE_CURRENT_LIST_DIR}/uDsPrint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GridToolsSummaryGraph.h ${CMAKE_CURRENT_LIST_DIR}/GridToolsSummaryGraph.cpp
)
