#ifndef EE_BOOL_H
#define EE_BOOL_H

// The front end's boolean flag: a 32-bit integer, 0 false, non-zero true.
typedef int EE_bool;

#endif
