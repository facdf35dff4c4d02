#include "services/FatPtr.h"

#include "services/InvalidOp.h"

namespace {

[[noreturn]] void refuse(const char* function, unsigned line)
{
    throw InvalidOp(InvalidOp::RTRC_NotSupported, function, line);
}

} // namespace

FatPtrImage::~FatPtrImage() = default;

FatPtr::FatPtr() : type_(nullptr) {}

FatPtr::FatPtr(const char*, const TypeItem& type) : type_(&type)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

unsigned FatPtr::read(void*, unsigned) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}
unsigned FatPtr::write(const void*, unsigned) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}
unsigned FatPtr::write(const DebuggeeLocation&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}
void FatPtr::load()
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}
FatPtr& FatPtr::increment(long long)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}
long long FatPtr::operator-(const FatPtr&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}
bool FatPtr::isNull() const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}
bool FatPtr::isValid() const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}
bool FatPtr::addressIsLocal() const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}
void* FatPtr::localAddress() const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}
unsigned long long FatPtr::addrfield() const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}
unsigned FatPtr::phase() const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}
unsigned FatPtr::thread() const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}
char* FatPtr::format(char*) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}
