#ifndef NORVEXA_EXPORT_H
#define NORVEXA_EXPORT_H

// The evaluator is built with hidden visibility; what the host (or the
// decimal library binding's callers) must find by name is marked NORVEXA_API.
// The Windows DLL exports what its .def file lists and nothing else: there
// the macro is empty.
#if defined(_WIN32)
#define NORVEXA_API
#else
#define NORVEXA_API __attribute__((visibility("default")))
#endif

#endif
