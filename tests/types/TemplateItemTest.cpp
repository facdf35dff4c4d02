// Template names: asking the host whether a name is a template, building the
// template-id text, resolving it once as a variable or a type.

#include <cstring>
#include <memory>
#include <string>

#include "SymbolsFixture.h"
#include "types/TemplateItem.h"

namespace {

const TYPE_INDEX intType{0, 130};

ByteString bytes(const char* text)
{
    return ByteString(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned>(std::strlen(text)));
}

std::string textOf(const TemplateItem& item)
{
    return reinterpret_cast<const char*>(item.text().data());
}

class TemplateItemTest : public SymbolsTest {};

TEST_F(TemplateItemTest, TemplateNamesAreTheHostsTemplateEntries)
{
    declare(unit, records().newSymbol(38, "Pair"));
    declare(unit, records().staticVariable("plain", intType, 1, 0));
    EXPECT_TRUE(TemplateItem::isTemplateName("Pair", *scope));
    EXPECT_TRUE(searchedWith("name=Pair caseSensitive=1 symbolsToSearch=0x60800000"));
    EXPECT_FALSE(TemplateItem::isTemplateName("plain", *scope));
    EXPECT_FALSE(TemplateItem::isTemplateName("unknown", *scope));
    EXPECT_FALSE(TemplateItem::isTemplateName("", *scope));
    EXPECT_FALSE(TemplateItem::isTemplateName(nullptr, *scope));
    host.throwFromSlot(HS_ExprSearchForSymbolEntry, 1);
    EXPECT_FALSE(TemplateItem::isTemplateName("Pair", *scope));
}

TEST_F(TemplateItemTest, VariableTemplateResolvesOnce)
{
    declare(unit, records().staticVariable("Pair<int,3>", intType, 1, 0x40));
    TemplateItem pair(bytes("Pair"), *scope);
    EXPECT_EQ(textOf(pair), "Pair<");
    TypeItem integer(intType);
    EXPECT_TRUE(pair.addTemplateArg(&integer));
    EXPECT_TRUE(pair.addTemplateArg(3, 1));
    EXPECT_EQ(textOf(pair), "Pair<int,3");

    host.clearCalls();
    SymbolItem* symbol = pair.resolveTemplateAsSymbol();
    ASSERT_NE(symbol, nullptr);
    EXPECT_STREQ(symbol->name(), "Pair<int,3>");
    EXPECT_EQ(textOf(pair), "Pair<int,3>");
    EXPECT_EQ(pair.state(), TemplateItem::resolved);
    EXPECT_TRUE(traced("Resolved templated symbol Pair<int,3> as a variable"));
    const unsigned searches = this->searches();
    EXPECT_EQ(pair.resolveTemplateAsSymbol(), symbol);
    EXPECT_EQ(pair.resolveTemplateAsType(), nullptr);
    EXPECT_EQ(this->searches(), searches);
    EXPECT_EQ(textOf(pair), "Pair<int,3>");

    // No argument once resolved.
    EXPECT_FALSE(pair.addTemplateArg(1, 1));
    EXPECT_EQ(pair.state(), TemplateItem::failed);
}

TEST_F(TemplateItemTest, ConstantArguments)
{
    struct Case {
        unsigned long long value;
        int isSigned;
        const char* text;
    } cases[] = {
        {static_cast<unsigned long long>(-1LL), 0, "T<18446744073709551615"},
        {static_cast<unsigned long long>(-1LL), 1, "T<-1"},
        {42, 0, "T<42"},
    };
    for (const Case& c : cases) {
        TemplateItem t(bytes("T"), *scope);
        EXPECT_TRUE(t.addTemplateArg(c.value, c.isSigned));
        EXPECT_EQ(textOf(t), c.text);
    }
    // A missing or empty type fails the item.
    TemplateItem bad(bytes("T"), *scope);
    EXPECT_FALSE(bad.addTemplateArg(nullptr));
    EXPECT_EQ(bad.state(), TemplateItem::failed);
    TemplateItem empty(bytes("T"), *scope);
    TypeItem none;
    EXPECT_FALSE(empty.addTemplateArg(&none));
    EXPECT_EQ(empty.resolveTemplateAsSymbol(), nullptr);
}

TEST_F(TemplateItemTest, TypeTemplateResolvesAsType)
{
    HostRecordStore::ClassSpec box;
    box.name = "Box<int>";
    box.byteSize = 4;
    box.members = {{"v", intType, 0}};
    const TYPE_INDEX boxType = records().classType(box);
    declare(unit, records().typeName("Box<int>", boxType));

    TemplateItem t(bytes("Box"), *scope);
    TypeItem integer(intType);
    ASSERT_TRUE(t.addTemplateArg(&integer));
    EXPECT_EQ(t.resolveTemplateAsSymbol(), nullptr);
    const TypeItem* type = t.resolveTemplateAsType();
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(*type, TypeItem(boxType));
    EXPECT_TRUE(traced("Resolved templated type symbol Box<int> as a type"));
}

TEST_F(TemplateItemTest, UnresolvedTemplatesFail)
{
    TemplateItem noArguments(bytes("P"), *scope);
    EXPECT_EQ(noArguments.resolveTemplateAsSymbol(), nullptr);
    EXPECT_EQ(noArguments.state(), TemplateItem::failed);

    TemplateItem unknown(bytes("Q"), *scope);
    ASSERT_TRUE(unknown.addTemplateArg(1, 1));
    EXPECT_EQ(unknown.resolveTemplateAsSymbol(), nullptr);
    EXPECT_EQ(unknown.state(), TemplateItem::failed);
    EXPECT_TRUE(traced("Failed to resolve templated symbol Q<1> at scope"));
    EXPECT_EQ(unknown.resolveTemplateAsType(), nullptr);
}

} // namespace
