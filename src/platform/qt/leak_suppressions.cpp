// Leaks of system libraries that LeakSanitizer would report at exit in a
// sanitizer build: D-Bus keeps a buffer of its connection (the toolkit asks
// the session bus for a notification-area host) and fontconfig its caches,
// for the life of the process. Nothing of the program's own is suppressed.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n"
           "leak:libfontconfig.so\n";
}
#endif
