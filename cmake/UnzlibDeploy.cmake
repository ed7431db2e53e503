# unzlib_deploy(TARGET) puts the unzip library (libunzlib.so, unzlib.dll)
# beside a program, where the archive component looks first. Copied on every
# build, so a rebuilt library never leaves a stale copy.
function(unzlib_deploy target)
  add_custom_target(${target}_unzlib
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:sprav_unzlib> $<TARGET_FILE_DIR:${target}>)
  add_dependencies(${target}_unzlib sprav_unzlib)
  add_dependencies(${target} ${target}_unzlib)
endfunction()
