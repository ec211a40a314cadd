# The program's layers, lowest first: the component (component/Riri), the
# platform stand-ins (app/platform), the window helpers (app/ui), the shared
# routines (app/shared), the subsystems (app/items, app/owner, app/reports,
# app/utils, app/cli, app/startup) and the shell (the root of app/). A file
# includes only its own layer and the layers below it; CheckLayers.cmake
# reads every include and fails the build on one that reaches up.
file(GLOB_RECURSE _quorvane_layered_sources CONFIGURE_DEPENDS
  "${PROJECT_SOURCE_DIR}/component/*.h" "${PROJECT_SOURCE_DIR}/component/*.cpp"
  "${PROJECT_SOURCE_DIR}/app/*.h" "${PROJECT_SOURCE_DIR}/app/*.cpp")
set(_quorvane_layers_stamp "${CMAKE_BINARY_DIR}/layers.checked")
add_custom_command(
  OUTPUT "${_quorvane_layers_stamp}"
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DSTAMP=${_quorvane_layers_stamp}
          -P "${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake"
  DEPENDS ${_quorvane_layered_sources} "${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake"
  COMMENT "Checking that each layer includes only the layers below it"
  VERBATIM)
add_custom_target(quorvane_layers ALL DEPENDS "${_quorvane_layers_stamp}")
