// Widget tests load the font configuration library, whose caches live until the process ends; the
// leak checker of sanitizer builds would report them as leaks of the test.
extern "C" const char* __asan_default_options() { return "detect_leaks=0:abort_on_error=1"; }
