#ifndef NORVEXA_TYPES_ENVIRONMENTTYPES_H
#define NORVEXA_TYPES_ENVIRONMENTTYPES_H

// The part of the type model that the host services and evaluation context
// reach against the order of building: the evaluation environment keeps its
// type cache, scopes, created types (and their index) and template
// descriptions; the host
// services look among the created types; a debuggee location dereferences
// through a pointer type. The services include the type model only through
// this header.
#include "types/CreatedTypeIndex.h"
#include "types/CreatedTypeItem.h"
#include "types/ScopeItem.h"
#include "types/TemplateItem.h"
#include "types/TypeCache.h"
#include "types/TypeItem.h"

#endif
