#include "frontend/EE_ArenaString.h"

EE_ArenaString::~EE_ArenaString() = default;
