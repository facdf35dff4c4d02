// C++ objects with base classes through the entry points, as a host walks
// them: every node of the tree (the object, each base-class part, each
// member) formats its own value, and the object's text is formed from its
// children's as a structure's is. The walk goes both ways a host takes:
// the structure queries, which list base classes with the members, and the
// class queries, which count and hand out base classes and data members
// apart. Both address sizes.

#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "api/ExpressionEntryPoints.h"
#include "api/PluginEntryPoints.h"
#include "api/TreeNodeEntryPoints.h"
#include "api/TypeQueryEntryPoints.h"
#include "machine/StackItem.h"
#include "testhost/ProgramFile.h"
#include "testhost/TestHost.h"
#include "tree/UpdateTreeNode.h"

#include "EvaluatedRootsFixture.h"

namespace {

// Several bases, one of them after another's padding, and a derived class
// whose member lies in its base's tail padding.
const char severalBases[] = R"(language c++
class a { public: char x; };
class b { public: double y; };
class c : public a, public b { public: int z; } o = {{'q'}, {2.5}, 9};
struct d : c { short w; } dd = {{{'r'}, {3.5}, 10}, 11};
b lone = {1.5};
class left : public a { public: int l; };
class right : public a { public: int r; };
class both : public left, public right { public: int n; } bo = {{{'s'}, 1}, {{'t'}, 2}, 3};
)";

// One node of a walk: its depth below the root, the name the query gave
// (a base-class part has none), the format status and the text.
struct Line {
    unsigned depth;
    std::string name;
    UBYTE2 status;
    std::string text;

    bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& l)
{
    return out << std::string(l.depth * 2, ' ') << '"' << l.name << "\" " << l.status << " [" << l.text << "]";
}

constexpr UBYTE2 aggregate = 1012;

class ClassTreeTest : public EvaluatedRootsFixture<::testing::TestWithParam<unsigned>> {
protected:
    void loadFile(const char* sample)
    {
        loadProgram(std::string(NORVEXA_EXAMPLES_DIR) + "/" + sample, GetParam(), true);
    }

    void loadText(const char* text) { loadProgram(text, GetParam()); }

    Line line(UpdateTreeNode* node, unsigned depth, const UBYTE1* name)
    {
        UBYTE1* text = nullptr;
        const UBYTE2 status = DbgFormatTreeValue2a(node, 0, item_, &text, 65535);
        return Line{depth, name != nullptr ? reinterpret_cast<const char*>(name) : "", status,
                    text != nullptr && (status == 0 || status == aggregate) ? reinterpret_cast<const char*>(text) : ""};
    }

    // The node and everything below it through the structure queries.
    void walkStructure(UpdateTreeNode* node, unsigned depth, const UBYTE1* name, std::vector<Line>& out)
    {
        out.push_back(line(node, depth, name));
        UBYTE4 count = 0;
        if (DbgQueryStructInfo(item_, node, &count) != 0)
            return;
        for (UBYTE4 i = 1; i <= count; ++i) {
            UpdateTreeNode* child = nullptr;
            UBYTE1* childName = nullptr;
            ASSERT_EQ(Dbg2QueryStructElementInfo(item_, node, i, &child, &childName), 0) << out.back() << " #" << i;
            nodes_.push_back(child);
            walkStructure(child, depth + 1, childName, out);
        }
    }

    // The same through the class queries: the base classes, then the data
    // members.
    void walkClass(UpdateTreeNode* node, unsigned depth, const UBYTE1* name, std::vector<Line>& out)
    {
        out.push_back(line(node, depth, name));
        UBYTE4 members = 0;
        UBYTE4 bases = 0;
        const LCC_Eval_Context_Info* context = nullptr;
        TYPE_INDEX type{};
        if (DbgQueryClassInfo(item_, node, &members, &bases, &context, &type) != 0)
            return;
        for (UBYTE4 i = 1; i <= bases; ++i) {
            UpdateTreeNode* child = nullptr;
            UBYTE1* childName = nullptr;
            UBYTE4 flags = 99;
            ASSERT_EQ(DbgQueryClassBaseClassInfo(item_, node, i, &child, &childName, &flags), 0) << out.back();
            EXPECT_EQ(flags, 0u);
            nodes_.push_back(child);
            walkClass(child, depth + 1, childName, out);
        }
        for (UBYTE4 i = 1; i <= members; ++i) {
            UpdateTreeNode* child = nullptr;
            UBYTE1* childName = nullptr;
            ASSERT_EQ(DbgQueryClassDataMemInfo(item_, node, i, &child, &childName), 0) << out.back();
            nodes_.push_back(child);
            walkClass(child, depth + 1, childName, out);
        }
    }

    // Both walks of a fresh root of the expression show the lines.
    void expectTree(const std::string& expression, const std::vector<Line>& expected)
    {
        std::vector<Line> byStructure;
        walkStructure(root(expression), 0, nullptr, byStructure);
        EXPECT_EQ(byStructure, expected) << expression << " through the structure queries";
        std::vector<Line> byClass;
        walkClass(root(expression), 0, nullptr, byClass);
        EXPECT_EQ(byClass, expected) << expression << " through the class queries";
    }

    // The status of building and validating text: 0 when it is valid.
    UBYTE2 validated(const std::string& text)
    {
        ExpressionRepresentation* rep = nullptr;
        std::string t = text;
        const UBYTE2 built = DbgBuildExprIntRep(reinterpret_cast<unsigned char*>(t.data()), program_.context(),
                                                static_cast<UBYTE4>(program_.languageCode()), 0, &rep);
        if (rep == nullptr)
            return built;
        reps_.push_back(rep);
        StackItem* type = nullptr;
        const UBYTE2 status = DbgValidateExpr(rep, program_.context(), &type);
        if (type != nullptr)
            types_.push_back(type);
        return status;
    }

    std::uint64_t addressOf(const char* name) const { return program_.find(name)->address; }
};

std::string pointerText(std::uint64_t address, unsigned bits)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*llX", static_cast<int>(bits / 4), static_cast<unsigned long long>(address));
    return text;
}

TEST_P(ClassTreeTest, EveryNodeOfAClassWithBasesShowsItsValue)
{
    loadFile("cpp.prog");
    const std::vector<Line> square = {
        {0, "", aggregate, "{ { 7, 16 }, 4 }"},
        {1, "", aggregate, "{ 7, 16 }"},
        {2, "id", 0, "7"},
        {2, "area", 0, "16"},
        {1, "side", 0, "4"},
    };
    expectTree("sq", square);
    // Reached through a pointer: the same object.
    expectTree("*ps", square);

    // Two levels of bases: tagged : square : shape.
    expectTree("t", {
                        {0, "", aggregate, "{ { { 8, 9 }, 3 }, 'k' }"},
                        {1, "", aggregate, "{ { 8, 9 }, 3 }"},
                        {2, "", aggregate, "{ 8, 9 }"},
                        {3, "id", 0, "8"},
                        {3, "area", 0, "9"},
                        {2, "side", 0, "3"},
                        {1, "tag", 0, "'k'"},
                    });

    // The pointer's child is its target, whose base part is the object's.
    std::vector<Line> pointer;
    walkStructure(root("ps"), 0, nullptr, pointer);
    std::vector<Line> expected = {{0, "", 0, pointerText(addressOf("sq"), GetParam())}};
    for (Line l : square) {
        ++l.depth;
        if (l.depth == 1)
            l.name = "*ps";
        expected.push_back(l);
    }
    EXPECT_EQ(pointer, expected);
}

TEST_P(ClassTreeTest, BasesAfterTheFirstAreFoundAtTheirOffsets)
{
    loadText(severalBases);
    expectTree("o", {
                        {0, "", aggregate, "{ { 'q' }, { 2.5 }, 9 }"},
                        {1, "", aggregate, "{ 'q' }"},
                        {2, "x", 0, "'q'"},
                        {1, "", aggregate, "{ 2.5 }"},
                        {2, "y", 0, "2.5"},
                        {1, "z", 0, "9"},
                    });
    expectTree("dd", {
                         {0, "", aggregate, "{ { { 'r' }, { 3.5 }, 10 }, 11 }"},
                         {1, "", aggregate, "{ { 'r' }, { 3.5 }, 10 }"},
                         {2, "", aggregate, "{ 'r' }"},
                         {3, "x", 0, "'r'"},
                         {2, "", aggregate, "{ 3.5 }"},
                         {3, "y", 0, "3.5"},
                         {2, "z", 0, "10"},
                         {1, "w", 0, "11"},
                     });
}

TEST_P(ClassTreeTest, ACastToABaseClassIsThatPartOfTheObject)
{
    loadFile("cpp.prog");
    const std::vector<Line> firstShape = {
        {0, "", aggregate, "{ 7, 16 }"},
        {1, "id", 0, "7"},
        {1, "area", 0, "16"},
    };
    const std::vector<Line> secondShape = {
        {0, "", aggregate, "{ 8, 9 }"},
        {1, "id", 0, "8"},
        {1, "area", 0, "9"},
    };
    expectTree("(shape)sq", firstShape);
    expectTree("static_cast<shape>(sq)", firstShape);
    expectTree("static_cast<shape>(*ps)", firstShape);
    // Two levels up, at once or a level at a time.
    expectTree("(shape)t", secondShape);
    expectTree("(shape)(square)t", secondShape);
    // To a class with a base of its own; to its own class.
    expectTree("(square)t", {
                                {0, "", aggregate, "{ { 8, 9 }, 3 }"},
                                {1, "", aggregate, "{ 8, 9 }"},
                                {2, "id", 0, "8"},
                                {2, "area", 0, "9"},
                                {1, "side", 0, "3"},
                            });
    expectTree("(square)sq", {
                                 {0, "", aggregate, "{ { 7, 16 }, 4 }"},
                                 {1, "", aggregate, "{ 7, 16 }"},
                                 {2, "id", 0, "7"},
                                 {2, "area", 0, "16"},
                                 {1, "side", 0, "4"},
                             });
    // The part's members.
    expectTree("((shape)sq).id", {{0, "", 0, "7"}});
    expectTree("static_cast<shape>(t).area", {{0, "", 0, "9"}});

    // Only a base class: not a derived class, not from a pointer, and
    // neither the reinterpreting nor the constness cast.
    for (const char* refused :
         {"(tagged)sq", "(square)(shape)t", "(shape)ps", "reinterpret_cast<shape>(sq)", "const_cast<shape>(sq)"})
        EXPECT_EQ(validated(refused), 11000) << refused;
}

TEST_P(ClassTreeTest, ACastToABaseAfterTheFirstOrMetTwice)
{
    loadText(severalBases);
    expectTree("(b)o", {{0, "", aggregate, "{ 2.5 }"}, {1, "y", 0, "2.5"}});
    expectTree("(b)dd", {{0, "", aggregate, "{ 3.5 }"}, {1, "y", 0, "3.5"}});
    expectTree("(right)bo", {
                                {0, "", aggregate, "{ { 't' }, 2 }"},
                                {1, "", aggregate, "{ 't' }"},
                                {2, "x", 0, "'t'"},
                                {1, "r", 0, "2"},
                            });
    expectTree("(a)(right)bo", {{0, "", aggregate, "{ 't' }"}, {1, "x", 0, "'t'"}});
    // Two parts of class a in bo: which one is meant is not said.
    EXPECT_EQ(validated("(a)bo"), 11000);

    // Assigned to an object of the base class, the part is what is stored,
    // and nothing past the object.
    expectTree("lone = dd", {{0, "", aggregate, "{ 3.5 }"}, {1, "y", 0, "3.5"}});
    expectTree("lone", {{0, "", aggregate, "{ 3.5 }"}, {1, "y", 0, "3.5"}});
    std::vector<Line> after;
    walkStructure(root("bo"), 0, nullptr, after);
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.front().text, "{ { { 's' }, 1 }, { { 't' }, 2 }, 3 }");
}

// A reference to a base class is the base's part of the object, at the
// base's offset, read and stored into in place.
TEST_P(ClassTreeTest, AReferenceToABaseClassIsThatPartInPlace)
{
    loadText(severalBases);
    expectTree("(b&)o", {{0, "", aggregate, "{ 2.5 }"}, {1, "y", 0, "2.5"}});
    expectTree("static_cast<b&>(dd)", {{0, "", aggregate, "{ 3.5 }"}, {1, "y", 0, "3.5"}});
    expectTree("static_cast<right&>(bo)", {
                                              {0, "", aggregate, "{ { 't' }, 2 }"},
                                              {1, "", aggregate, "{ 't' }"},
                                              {2, "x", 0, "'t'"},
                                              {1, "r", 0, "2"},
                                          });
    expectTree("((b&)o).y", {{0, "", 0, "2.5"}});
    expectTree("((right&)bo).r = 5", {{0, "", 0, "5"}});
    expectTree("(b&)dd = lone", {{0, "", aggregate, "{ 1.5 }"}, {1, "y", 0, "1.5"}});
    std::vector<Line> after;
    walkStructure(root("bo"), 0, nullptr, after);
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.front().text, "{ { { 's' }, 1 }, { { 't' }, 5 }, 3 }");
    after.clear();
    walkStructure(root("dd"), 0, nullptr, after);
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.front().text, "{ { { 'r' }, { 1.5 }, 10 }, 11 }");
}

INSTANTIATE_TEST_SUITE_P(AddressSizes, ClassTreeTest, ::testing::Values(64u, 32u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "Bits" + std::to_string(info.param);
                         });

} // namespace
