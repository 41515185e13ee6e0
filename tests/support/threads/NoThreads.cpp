// Linked into every test program that does not carry the "threads" label (in
// the plain build only: the sanitizer runtimes replace pthread_create
// themselves). Its pthread_create takes the place of the C library's, so a
// program that starts a thread, however deep in the libraries, stops here
// instead of going untested under ThreadSanitizer, which runs the labelled
// programs only.
#include <pthread.h>

#include <cstdio>
#include <cstdlib>

extern "C" int pthread_create(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*) noexcept
{
    std::fputs("This test program starts a thread: mark it THREADS in its hv_add_test, so that\n"
               "scripts/test-threads runs it under ThreadSanitizer.\n",
               stderr);
    std::abort();
}
