#include "types/SqlTypeRegistry.h"

#include <mutex>
#include <unordered_map>

#include "types/TypeItem.h"

namespace {

struct Table {
    std::mutex lock;
    std::uint32_t nextSerial = 1;
    std::unordered_map<std::uint32_t, const SqlTypeEntry*> entries;
};

Table& table()
{
    static Table* t = new Table; // lives for the process: owners may go at exit
    return *t;
}

} // namespace

SqlTypeRegistry::Registration::Registration(std::uint32_t serial, std::unique_ptr<SqlTypeEntry> entry)
    : serial_(serial), entry_(std::move(entry))
{}

SqlTypeRegistry::Registration::~Registration()
{
    Table& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    t.entries.erase(serial_);
}

TypeItem SqlTypeRegistry::Registration::typeItem() const
{
    return TypeItem(typeIndex(), entry_->asTypeEntry(), false);
}

std::unique_ptr<SqlTypeRegistry::Registration> SqlTypeRegistry::add(const SqlTypeEntry& record)
{
    auto entry = std::make_unique<SqlTypeEntry>(record);
    const SqlTypeEntry* raw = entry.get();
    Table& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    std::uint32_t serial = t.nextSerial++;
    if (t.nextSerial == 0)
        t.nextSerial = 1;
    t.entries[serial] = raw;
    return std::unique_ptr<Registration>(new Registration(serial, std::move(entry)));
}

const _TYPE_ENTRY* SqlTypeRegistry::find(const TYPE_INDEX& index)
{
    if (index.module != module)
        return nullptr;
    Table& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.entries.find(index.index);
    return it == t.entries.end() ? nullptr : it->second->asTypeEntry();
}

std::size_t SqlTypeRegistry::size()
{
    Table& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    return t.entries.size();
}
