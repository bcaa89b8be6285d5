# The sanitizer settings of the test suite and the monkey, sourced by
# test.sh and tools/monkey: leaks are detected, the first report of either
# sanitizer ends the program, and reports carry whole stacks.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
