#ifndef PLOMKIT_EXPORT_H
#define PLOMKIT_EXPORT_H

// The macro marks the classes that form the library's interface. On Windows
// the DLL exports them and its users import them; elsewhere the library is
// built with default visibility and the macro keeps the classes visible to a
// hidden-visibility user.
#if defined(_WIN32)
#if defined(PLOMKIT_BUILDING)
#define PLOMKIT_API __declspec(dllexport)
#else
#define PLOMKIT_API __declspec(dllimport)
#endif
#else
#define PLOMKIT_API __attribute__((visibility("default")))
#endif

#endif
