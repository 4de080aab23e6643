// Defaults for sanitizer builds of the tests. Leak checking stays off: widget tests load the font
// configuration library, whose caches live until the process ends and would read as leaks.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0:abort_on_error=1";
}

extern "C" const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}
