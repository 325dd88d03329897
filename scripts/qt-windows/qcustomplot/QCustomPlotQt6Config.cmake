include(CMakeFindDependencyMacro)
find_dependency(Qt6 COMPONENTS Widgets)
include(${CMAKE_CURRENT_LIST_DIR}/QCustomPlotQt6Targets.cmake)
