#ifndef NORVEXA_SERVICES_FATPTR_H
#define NORVEXA_SERVICES_FATPTR_H

#include <plomkit/ByteString.h>

class DebuggeeLocation;
class TypeItem;

// The bytes of a parallel-language pointer to shared data.
class FatPtrImage : public ByteString {
public:
    FatPtrImage() = default;
    FatPtrImage(const FatPtrImage&) = default;
    FatPtrImage& operator=(const FatPtrImage&) = default;
    virtual ~FatPtrImage();
};

// A parallel-language pointer to shared data. Such pointers are not
// supported: an empty one can be held (so a location can be of this kind),
// and every operation on it is refused with InvalidOp RTRC_NotSupported.
class FatPtr {
public:
    FatPtr();
    FatPtr(const char* image, const TypeItem& type);
    FatPtr(const FatPtr&) = default;
    FatPtr& operator=(const FatPtr&) = default;
    ~FatPtr() = default;

    unsigned read(void* buffer, unsigned count) const;
    unsigned write(const void* buffer, unsigned count) const;
    unsigned write(const DebuggeeLocation& source) const;
    void load();
    FatPtr& increment(long long n);
    long long operator-(const FatPtr& other) const;
    bool isNull() const;
    bool isValid() const;
    bool addressIsLocal() const;
    void* localAddress() const;
    unsigned long long addrfield() const;
    unsigned phase() const;
    unsigned thread() const;
    char* format(char* buffer) const;

    const TypeItem* pointedToType() const { return type_; }
    FatPtrImage& image() { return image_; }
    const FatPtrImage& image() const { return image_; }

private:
    const TypeItem* type_;
    FatPtrImage image_;
};

#endif
