// Linked into the service and its benchmark (whose baseline server also runs cpp-httplib).
#if defined(__SANITIZE_THREAD__)
// Debian's cpp-httplib is a compiled library without ThreadSanitizer instrumentation: the
// second thread to use one of its function-local statics (such as its set of method
// names) passes the initialisation guard on a load ThreadSanitizer cannot see, and the
// library's memcmp on the static then reads as a race. Calls from that library are
// therefore not checked; our own code and SQLite's locking still are.
extern "C" const char* __tsan_default_suppressions() {
  return "called_from_lib:libcpp-httplib.so\n";
}
#endif
