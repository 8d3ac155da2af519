/* Linked into every executable of the sanitizer build by scripts/test-hardening, never into the
 * tool itself. The end-to-end tests start the tool with an environment of their own, so the
 * sanitizers' settings cannot come from ASAN_OPTIONS: libfaketime preloaded before the
 * AddressSanitizer runtime must be accepted, leaks reported, and undefined behaviour fatal. */
const char* __asan_default_options(void);
const char* __ubsan_default_options(void);

const char* __asan_default_options(void)
{
    return "verify_asan_link_order=0:detect_leaks=1:strict_string_checks=1";
}

const char* __ubsan_default_options(void)
{
    return "print_stacktrace=1:halt_on_error=1";
}
