#ifndef NORVEXA_TREE_REFERENCE_H
#define NORVEXA_TREE_REFERENCE_H

#include <utility>

// A counted pointer to a ReferenceCounted object: it adds a reference when
// it takes an object and removes one when it lets it go.
template <class T>
class Reference {
public:
    Reference() = default;
    Reference(T* object) : object_(object) { take(); }
    Reference(const Reference& other) : object_(other.object_) { take(); }
    Reference(Reference&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ~Reference() { release(); }

    Reference& operator=(const Reference& other)
    {
        if (object_ != other.object_) {
            T* old = object_;
            object_ = other.object_;
            take();
            if (old != nullptr)
                old->removeReference();
        }
        return *this;
    }
    Reference& operator=(Reference&& other) noexcept
    {
        if (this != &other) {
            T* old = std::exchange(object_, std::exchange(other.object_, nullptr));
            if (old != nullptr)
                old->removeReference();
        }
        return *this;
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // Lets go of the object (removing the reference held).
    void reset() { *this = Reference(); }

private:
    void take()
    {
        if (object_ != nullptr)
            object_->addReference();
    }
    void release()
    {
        T* old = std::exchange(object_, nullptr);
        if (old != nullptr)
            old->removeReference();
    }

    T* object_ = nullptr;
};

#endif
