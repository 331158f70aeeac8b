# setup_embed(<out-var> <symbol> <file>): generates a source file that carries
# the bytes of <file> as `extern const unsigned char <symbol>[]` and
# `extern const unsigned <symbol>_size`, and appends it to <out-var>. A zero
# byte follows the data (not counted in the size), so a text can be used as it is.
function(setup_embed out_var symbol file)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/embedded/${symbol}.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DIN=${file} -DOUT=${out} -DSYMBOL=${symbol}
            -P ${PROJECT_SOURCE_DIR}/cmake/embed-run.cmake
    DEPENDS ${file} ${PROJECT_SOURCE_DIR}/cmake/embed-run.cmake
    COMMENT "Embedding ${symbol}")
  set(${out_var} ${${out_var}} ${out} PARENT_SCOPE)
endfunction()
