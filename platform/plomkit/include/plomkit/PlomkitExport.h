#ifndef PLOMKIT_EXPORT_H
#define PLOMKIT_EXPORT_H

// libplomkit is built with default visibility; the macro marks the classes
// that form its interface so that a hidden-visibility user still sees them.
#define PLOMKIT_API __attribute__((visibility("default")))

#endif
