# Builds the Debian package of this build tree once for the package tests (gzip: quick to make;
# its fields and files are those of the real one). Usage: cmake -DCONFIG=... -DOUT=... -P this
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND cpack -G DEB --config ${CONFIG} -B ${OUT}
                  -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip
                RESULT_VARIABLE result)
file(REMOVE_RECURSE ${OUT}/_CPack_Packages)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed: ${result}")
endif()
