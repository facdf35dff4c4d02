#ifndef FIXTURE_MACHINE_STACKITEM_H
#define FIXTURE_MACHINE_STACKITEM_H
struct StackItem {
    virtual ~StackItem() = default;
};
#endif
