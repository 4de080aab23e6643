// The widget tests load fontconfig, whose caches are still held at exit; leak checking would
// report them. Address and undefined-behaviour checks stay on.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0:abort_on_error=1";
}
