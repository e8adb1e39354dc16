# Options every target of the project shares: warnings, and the floating-point rules that keep
# the simulation bit-identical from run to run and machine to machine.
function(kavrin_target_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -ffp-contract=off -fno-fast-math)
endfunction()
