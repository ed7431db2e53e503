# sprav_library(NAME STATIC|SHARED SOURCES...) declares a module's library as
# sprav_NAME with the alias sprav::NAME. Its users include headers by their
# path under src ("data/table.h"); a library beside the program (tools,
# packaging, tests) also by its path under its own top folder
# ("datagen/directorydata.h").
function(sprav_library name type)
  add_library(sprav_${name} ${type} ${ARGN})
  add_library(sprav::${name} ALIAS sprav_${name})
  file(RELATIVE_PATH here ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  string(REGEX REPLACE "/.*" "" top ${here})
  set(roots ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/${top})
  list(REMOVE_DUPLICATES roots)
  target_include_directories(sprav_${name} PUBLIC ${roots})
endfunction()
