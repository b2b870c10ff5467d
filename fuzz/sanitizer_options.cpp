// Sanitizer settings built into every fuzz target. A fuzzed program may ask
// for gigabytes (a string doubled in a loop, a huge DIM); large requests fail
// as they would on a smaller machine, and the interpreter must then report
// "Out of memory", which it does when malloc or nothrow new return null.
extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1:max_allocation_size_mb=256";
}
