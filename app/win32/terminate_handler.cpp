// What happens when an exception is left uncaught: the program ends at once. A window program
// has no console for the C++ runtime's default report, which would also bring its name
// demangler (about 46 KB) into the executable.
#include <cstdlib>

namespace __gnu_cxx {  // NOLINT(cert-dcl58-cpp): replaces the runtime's default handler

[[noreturn]] void __verbose_terminate_handler();  // NOLINT(bugprone-reserved-identifier)

void __verbose_terminate_handler() {
  std::abort();
}  // NOLINT(bugprone-reserved-identifier)

}  // namespace __gnu_cxx
