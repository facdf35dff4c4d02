#ifndef NORVEXA_TYPES_SQLTYPEREGISTRY_H
#define NORVEXA_TYPES_SQLTYPEREGISTRY_H

#include <cstdint>
#include <memory>

#include "HostRecords.h"
#include "types/SqlTypeEntry.h"

class TypeItem;

// The SQL host-variable type entries the evaluator makes. Each entry gets a
// type index of its own, {module, serial}, the module word being reserved
// for these entries; TypeItem::typeEntry answers such an index here. An
// entry is registered for as long as its Registration lives: whoever owns
// the registration (a tree node, a validated representation) owns the entry.
// Serials are never reused, so a stale index finds nothing rather than
// another entry. Safe to use from several threads.
class SqlTypeRegistry {
public:
    static constexpr std::uint32_t module = 0xFFFFFFFDu;

    class Registration {
    public:
        ~Registration();
        Registration(const Registration&) = delete;
        Registration& operator=(const Registration&) = delete;

        TYPE_INDEX typeIndex() const { return TYPE_INDEX{module, serial_}; }
        const SqlTypeEntry& entry() const { return *entry_; }
        // A type over the entry, the entry carried with it.
        TypeItem typeItem() const;

    private:
        friend class SqlTypeRegistry;
        Registration(std::uint32_t serial, std::unique_ptr<SqlTypeEntry> entry);

        std::uint32_t serial_;
        std::unique_ptr<SqlTypeEntry> entry_;
    };

    // Registers a copy of the record under a new index.
    static std::unique_ptr<Registration> add(const SqlTypeEntry& record);
    // The registered entry of an index of the reserved module; null when
    // there is none (never registered, or its owner is gone).
    static const _TYPE_ENTRY* find(const TYPE_INDEX& index);
    // How many entries are registered now.
    static std::size_t size();
};

#endif
