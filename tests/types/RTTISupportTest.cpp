// The dynamic class of a C++ object read from its virtual table: the name
// read through the type-information record, its bounds, and the type update
// with its results.

#include "TypesFixture.h"

#include "services/DebuggeeLocation.h"
#include "types/RTTIsupport.h"

namespace {

using Member = HostRecordStore::Member;

class RTTISupportTest : public TypesTest {
protected:
    void SetUp() override
    {
        TypesTest::SetUp();
        Member vptr{.name = "__vptr", .type = TYPE_INDEX{0, 183}, .offset = 0};
        Member x{.name = "x", .type = TYPE_INDEX{0, 130}, .offset = 4};
        base = records().classType({.name = "Base", .byteSize = 8, .isStruct = false, .members = {vptr, x}});
        markVirtualTablePointer(base);
        derived = records().classType({.name = "Derived", .byteSize = 12, .isStruct = false, .members = {vptr, x}});
        markVirtualTablePointer(derived);
        plain = records().classType({.name = "Plain", .byteSize = 4, .members = {x}});
    }

    // Sets the virtual-table pointer flag on the first member of a class.
    void markVirtualTablePointer(TYPE_INDEX cls)
    {
        const TNtypeListNode* node = records().type(records().type(cls)->klass.fieldList)->list.first.types;
        records().type(node->type)->member.flags |= TNclassmember_VirtualTablePointer;
    }

    // An object at `object` whose virtual table leads to the name text.
    void object(std::uint64_t object, const std::string& name)
    {
        host.memory().storeBigEndian(object, 0x2008, 4); // the virtual-table pointer
        host.memory().storeBigEndian(0x2004, 0x3000, 4); // slot -1: type information
        host.memory().storeBigEndian(0x3004, 0x4000, 4); // its name pointer
        host.memory().store(0x4000, name.c_str(), name.size() + 1);
    }

    static DebuggeeAddress address(std::uint64_t a) { return DebuggeeAddress(a, 4); }

    TYPE_INDEX base{}, derived{}, plain{};
};

TEST_F(RTTISupportTest, ObjectOfADerivedClassGetsItsDynamicType)
{
    object(0x1000, "7Derived");
    TypeItem type(base);
    DebuggeeLocation at(address(0x1000));
    EXPECT_EQ(RTTIsupport::updateType(type, at), 1);
    EXPECT_STREQ(type.typeEntry()->klass.name, "Derived");
    EXPECT_EQ(RTTIsupport::updateType(type, at), 0) << "already the dynamic type";

    std::unique_ptr<RTTIsupport::TypeInfo> info(RTTIsupport::getTypeInfo(TypeItem(base), address(0x1000)));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->text(), "7Derived");
    EXPECT_EQ(info->typeName(), "Derived");

    // Through a reference held at 0x500.
    host.memory().storeBigEndian(0x500, 0x1000, 4);
    TypeItem ref(records().referenceType(base));
    std::unique_ptr<RTTIsupport::TypeInfo> viaReference(RTTIsupport::getTypeInfo(ref, address(0x500)));
    ASSERT_NE(viaReference, nullptr);
    EXPECT_EQ(viaReference->typeName(), "Derived");
}

TEST_F(RTTISupportTest, NoDynamicTypeKeepsTheDeclaredOne)
{
    struct Case {
        const char* what;
        std::string name;
    };
    const Case cases[] = {
        {"same class", "4Base"},
        {"unknown class", "7Unknown"},
        {"nested name without length", "N3app4BaseE"},
        {"digits only", "1234"},
        {"zero length", "0Base"},
        {"absurd length", "999999999999999999999Derived"},
        {"length over the bound", "5000Derived"},
        {"name shorter than its length", "12Derived"},
    };
    for (const Case& c : cases) {
        host.memory().clear();
        object(0x1000, c.name);
        TypeItem type(base);
        DebuggeeLocation at(address(0x1000));
        EXPECT_EQ(RTTIsupport::updateType(type, at), 0) << c.what;
        EXPECT_EQ(type.typeIndex(), base) << c.what;
    }

    // No virtual-table pointer member.
    object(0x1000, "7Derived");
    TypeItem noPointer(plain);
    DebuggeeLocation at(address(0x1000));
    EXPECT_EQ(RTTIsupport::updateType(noPointer, at), 0);
    EXPECT_EQ(RTTIsupport::getTypeInfo(noPointer, address(0x1000)), nullptr);

    // Slot -1 of the table holds 0.
    host.memory().storeBigEndian(0x2004, 0, 4);
    TypeItem type(base);
    EXPECT_EQ(RTTIsupport::updateType(type, at), 0);
    EXPECT_EQ(RTTIsupport::getTypeInfo(type, address(0x1000)), nullptr);

    // Unreadable object memory, a primitive, COBOL.
    TypeItem again(base);
    DebuggeeLocation unmapped(address(0x9000));
    EXPECT_EQ(RTTIsupport::updateType(again, unmapped), 0);
    TypeItem primitive(130u);
    EXPECT_EQ(RTTIsupport::updateType(primitive, at), 0);
    EXPECT_EQ(RTTIsupport::getDisplayType(TypeItem(base), address(0x9000)).typeIndex(), base);
}

TEST_F(RTTISupportTest, LongNamesAreReadAgainWhole)
{
    const std::string longName(300, 'L');
    records().classType(
        {.name = longName, .byteSize = 8, .members = {Member{.name = "x", .type = TYPE_INDEX{0, 130}, .offset = 4}}});
    object(0x1000, "300" + longName);
    host.clearCalls();
    RTTIsupport::TypeInfo info(address(0x2008));
    EXPECT_EQ(info.typeName(), longName);
    bool wholeRead = false;
    for (const TestHost::Call& call : host.callsTo(HS_Expr2ReadMemory))
        wholeRead = wholeRead || call.arguments.find("count=303") != std::string::npos;
    EXPECT_TRUE(wholeRead) << "a second read of the digits and the name";

    TypeItem type(base);
    DebuggeeLocation at(address(0x1000));
    EXPECT_EQ(RTTIsupport::updateType(type, at), 1);
    EXPECT_EQ(std::string(type.typeEntry()->klass.name), longName);

    // The name ends before its length says: no name.
    host.memory().clear();
    object(0x1000, "300" + longName.substr(0, 100));
    EXPECT_EQ(RTTIsupport::TypeInfo(address(0x2008)).text(), "");
}

TEST_F(RTTISupportTest, LocationsWithoutAnAddress)
{
    object(0x1000, "7Derived");
    TypeItem type(base);
    DebuggeeLocation inRegister(7ul);
    EXPECT_EQ(RTTIsupport::updateType(type, inRegister), 2);
    DebuggeeLocation nowhere;
    EXPECT_EQ(RTTIsupport::updateType(type, nowhere), 2);
    DebuggeeLocation null(address(0));
    EXPECT_EQ(RTTIsupport::updateType(type, null), 2);
    int buffer = 0;
    DebuggeeLocation inDebugger;
    inDebugger = static_cast<void*>(&buffer);
    EXPECT_EQ(RTTIsupport::updateType(type, inDebugger), 2);
    EXPECT_EQ(type.typeIndex(), base);

    useLanguage(EvaluationEnvironment::languageCOBOL);
    DebuggeeLocation at(address(0x1000));
    EXPECT_EQ(RTTIsupport::updateType(type, at), 0) << "COBOL has no dynamic classes";
}

TEST_F(RTTISupportTest, EightByteWords)
{
    env.setAddressSize(8);
    host.memory().storeBigEndian(0x1000, 0x2010, 8);
    host.memory().storeBigEndian(0x2008, 0x3000, 8);
    host.memory().storeBigEndian(0x3008, 0x4000, 8);
    const char name[] = "7Derived";
    host.memory().store(0x4000, name, sizeof name);
    TypeItem type(base);
    DebuggeeLocation at(DebuggeeAddress(std::uint64_t(0x1000), 8));
    EXPECT_EQ(RTTIsupport::updateType(type, at), 1);
    EXPECT_STREQ(type.typeEntry()->klass.name, "Derived");
}

} // namespace
