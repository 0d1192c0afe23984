// Under AddressSanitizer: GTK, GDK, fontconfig, Pango, cairo and the accessibility bus keep caches
// for the life of the process, which LeakSanitizer reports at exit. They are the libraries' own,
// so leaks allocated under their frames are suppressed; full stacks (slow unwinding) are needed
// for the suppressions to see those frames behind GLib's allocator.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QL_DIALOG_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QL_DIALOG_ASAN 1
#endif

#ifdef QL_DIALOG_ASAN
extern "C" const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libgtk-3.so\n"
           "leak:libgdk-3.so\n"
           "leak:libfontconfig.so\n"
           "leak:libpango\n"
           "leak:libcairo.so\n"
           "leak:libgio-2.0.so\n"
           "leak:libgobject-2.0.so\n"
           "leak:libdbus-1.so\n"
           "leak:libatk-bridge-2.0.so\n";
}
#endif
