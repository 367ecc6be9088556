// The program's build settings for the end-to-end test of the maker's
// service: the service on the loopback and the test's own update key. This
// file stands in for the program's own, so the rest of the program is the
// same code as ever.
#include "e2e_update_key.h"
#include "online/servicehost.cpp"
