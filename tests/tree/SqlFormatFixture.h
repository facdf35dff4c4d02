#ifndef NORVEXA_TESTS_TREE_SQLFORMATFIXTURE_H
#define NORVEXA_TESTS_TREE_SQLFORMATFIXTURE_H

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "testhost/inprocess/CountingItem.h"
#include "tree/TreeFixture.h"
#include "types/SqlTypeEntry.h"

// SQL host variables in the simulated debuggee: a kind-89 entry as
// validation makes it from the host's symbol (the address width in bits, as
// the host gives it), the variable's bytes in memory, and a root node over
// the entry to format. The host offers the structure and array forms unless
// a test says otherwise. Tracing is on, so refusals leave their lines.
class SqlFormatTest : public TreeTest {
protected:
    static constexpr std::uint64_t at = 0x2000;

    SqlFormatTest() : TreeTest(languageC, 4, true) {}

    void SetUp() override
    {
        TreeTest::SetUp();
        offerAddressForms(true);
    }

    void offerAddressForms(bool on) { host.setVersion(DBG_VERSION_RECORD{5, 0, static_cast<UBYTE1>(on ? 1 : 0), {}}); }

    // An entry of a code and declared length at the usual address; the
    // maximum length is the declared one.
    static SqlTypeEntry variable(std::uint32_t code, std::uint32_t length, std::uint16_t ccsid = 0,
                                 std::int32_t elements = 0)
    {
        SqlTypeEntry e;
        e.setSqlType(code)
            .setLength(length)
            .setMaxLength(length)
            .setAddress(at)
            .setAddressWidth(32)
            .setCcsid(ccsid)
            .setElementCount(elements);
        return e;
    }

    // A type over a registered copy of the entry (kept until the test ends).
    TypeItem typeOf(const SqlTypeEntry& entry)
    {
        owners_.push_back(SqlTypeRegistry::add(entry));
        return owners_.back()->typeItem();
    }
    // A root over the entry.
    Reference<TestRoot> nodeOf(const SqlTypeEntry& entry, const char* name = "V") { return root(typeOf(entry), name); }

    void store(std::uint64_t address, const std::string& hex) { host.memory().store(address, bytes(hex)); }

    // FormatValue of a node: the status, and the text handed out.
    struct Formatted {
        std::uint16_t status = 0;
        std::string text;
    };
    Formatted formatValue(const UpdateTreeNode& node, DBG_REPS representation, unsigned maxLength = 65535)
    {
        int deletions = 0;
        CountingItem item(rep(), deletions);
        const char* out = nullptr;
        Formatted f;
        f.status = node.FormatValue(representation, item, out, maxLength);
        f.text = out != nullptr ? out : "<null>";
        return f;
    }

    // The text of a variable whose bytes (hexadecimal) are stored at its
    // address.
    std::string show(const SqlTypeEntry& entry, const std::string& hex, DBG_REPS representation = 2)
    {
        store(entry.address(), hex);
        auto node = nodeOf(entry);
        return formatValue(*node, representation).text;
    }

    static std::vector<std::uint8_t> bytes(const std::string& hex)
    {
        std::vector<std::uint8_t> out;
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
            out.push_back(static_cast<std::uint8_t>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
        return out;
    }

private:
    std::vector<std::unique_ptr<SqlTypeRegistry::Registration>> owners_;
};

#endif
