// The root node of a result: loading the result, the texts shown in place of
// a value, the element roots of an array section, the Fortran states kept
// between evaluations, and the references that keep the tree alive.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <plomkit/EncodedString.h>

#include "compiler/EE_InstructionStream.h"
#include "compiler/expression_info.h"
#include "machine/StackItemArraySection.h"
#include "machine/StackItemEvalError.h"
#include "machine/StackItemS.h"
#include "services/Message.h"
#include "testhost/DwarfExpression.h"
#include "testhost/inprocess/CountingItem.h"
#include "tree/RootTreeNode.h"
#include "tree/TreeFixture.h"
#include "types/BoundTypeItem.h"

namespace {

// An item whose string length a test chooses.
class LengthItem : public CountingItem {
public:
    LengthItem(EvaluationEnvironment& environment, int& deletions, const TypeItem& type, std::uint64_t length)
        : CountingItem(environment, deletions, 4, type), length(length)
    {
        setInDebuggerAddressSpace();
    }
    std::uint64_t stringLength() const override { return length; }
    std::uint64_t length;
};

class RootTest : public TreeTest, public ::testing::WithParamInterface<unsigned> {
protected:
    RootTest() : TreeTest(languageC, GetParam()) {}

    unsigned width() const { return GetParam(); }
    DebuggeeLocation at(std::uint64_t address) const { return DebuggeeLocation(DebuggeeAddress(address, width())); }

    // A loaded item of a type (4 bytes of value) at an address.
    std::unique_ptr<CountingItem> itemAt(const TypeItem& type, std::uint64_t address)
    {
        if (!host.memory().isMapped(address))
            host.memory().store(address, std::vector<std::uint8_t>(width(), 0));
        auto item = std::make_unique<CountingItem>(rep(), deletions, width(), type);
        item->load(at(address));
        return item;
    }

    static std::string messageText(int id) { return text(Message(id).textInUnicode().asUTF8()); }

    static std::vector<unsigned char> ownBytes(const TreeNode& node)
    {
        const unsigned char* b = node.ownBuffer();
        return b != nullptr ? std::vector<unsigned char>(b, b + node.ownBufferLength()) : std::vector<unsigned char>();
    }

    // A triplet section lower:upper of the parameter at position.
    std::unique_ptr<StackItemArraySection> section(long long lower, long long upper, long long position)
    {
        StackItemS8 l(rep(), lower), u(rep(), upper), s(rep(), 1), p(rep(), position);
        return std::make_unique<StackItemArraySection>(l, u, s, p);
    }

    void setParameters(std::initializer_list<int> values)
    {
        List<int> list;
        for (int v : values)
            list.append(v);
        rep().setParameters(list, 1);
    }

    // Makes the representation's built expression the byte code a test
    // writes (the end opcode is added).
    template <class Write>
    void buildExpression(Write write)
    {
        auto* info = new expression_info{new EE_InstructionStream, nullptr, 1, nullptr};
        write(*info->instructions);
        info->instructions->genEnd();
        rep().saveExprInfo(info);
    }

    // The value of an element's result; -99 when it has none.
    static long long valueOf(const UpdateTreeNode* element)
    {
        const StackItem* result = static_cast<const RootTreeNode*>(element)->result();
        return result != nullptr ? result->asSigned() : -99;
    }

    static std::vector<int> parametersOf(const RootTreeNode& node)
    {
        std::vector<int> out;
        for (unsigned i = 0; i < node.parameters().count(); ++i)
            out.push_back(node.parameters()[i]);
        return out;
    }

    int deletions = 0;
    TypeItem intType{130u};
};

TEST_P(RootTest, AReferenceResultShowsWhatItRefersTo)
{
    host.memory().storeBigEndian(0x800, 0x900, width());
    host.memory().store(0x900, {0x12, 0x34, 0x56, 0x78});
    auto item = itemAt(TypeItem(host.records().referenceType(TYPE_INDEX{0, 130})), 0x800);
    RootTreeNode* root = item->getTreeRoot();
    root->loadResult(*item);
    EXPECT_TRUE(root->isLoaded());
    EXPECT_FALSE(root->readFailed());
    EXPECT_EQ(root->location().address().addr(), 0x900u);
    EXPECT_EQ(ownBytes(*root), (std::vector<unsigned char>{0x12, 0x34, 0x56, 0x78}));
    EXPECT_EQ(root->result(), item.get());

    // Loading again reads nothing until the root is invalidated.
    host.clearCalls();
    root->loadResult(*item);
    EXPECT_EQ(reads(), 0u);
    root->invalidate();
    EXPECT_EQ(root->result(), nullptr) << "the host's result is dropped";
    root->loadResult(*item);
    EXPECT_EQ(reads(), 2u) << "the reference, then what it refers to";
}

TEST_P(RootTest, UnreadableBytesShowMessage47)
{
    host.memory().storeBigEndian(0x800, 0x7000, width()); // nothing at 0x7000
    auto item = itemAt(TypeItem(host.records().referenceType(TYPE_INDEX{0, 130})), 0x800);
    RootTreeNode* root = item->getTreeRoot();
    ASSERT_NO_THROW(root->loadResult(*item));
    EXPECT_TRUE(root->readFailed());
    EXPECT_TRUE(root->isLoaded());
    const char* shown = nullptr;
    ASSERT_EQ(root->FormatValue(2, *item, shown, 100), 0);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(std::string(shown), messageText(47));
    EXPECT_NE(std::string(shown).find("0047"), std::string::npos);
}

TEST_P(RootTest, WhatARootFormats)
{
    // An SQL host variable is formatted as it is, from its entry's address.
    useRepresentation(18, width());
    host.memory().store(0x1000, {0, 0, 0, 42});
    CountingItem variable(rep(), deletions, 4, sqlType(496, 4, 0, 0x1000, width()));
    RootTreeNode* root = variable.getTreeRoot();
    const char* shown = nullptr;
    ASSERT_EQ(root->FormatValue(2, variable, shown, 100), 0);
    EXPECT_STREQ(shown, "42");
    EXPECT_EQ(root->result(), nullptr) << "nothing is loaded for it";

    // An evaluation error shows its text.
    useRepresentation(languageC, width());
    const unsigned char message[] = "no such variable";
    StackItemEvalError error(rep(), ByteString(message, 16));
    ASSERT_EQ(error.getTreeRoot()->FormatValue(2, error, shown, 100), 0);
    EXPECT_STREQ(shown, "no such variable");

    // Any other value is loaded, then formatted by its type.
    auto value = itemAt(TypeItem(130u), 0x800);
    EXPECT_EQ(raisedCode([&] { value->getTreeRoot()->FormatValue(2, *value, shown, 100); }), 0);
    EXPECT_TRUE(value->getTreeRoot()->isLoaded());
    // ... in the representations its data type offers.
    EXPECT_EQ(raisedCode([&] { value->getTreeRoot()->FormatValue(8, *value, shown, 100); }),
              InvalidOp::RTRC_InvalidFormat);
}

TEST_P(RootTest, ResultsThatCannotBeLoaded)
{
    // No value.
    auto empty = itemAt(TypeItem(130u), 0x800);
    empty->setHasValue(false);
    EXPECT_EQ(raisedCode([&] { empty->getTreeRoot()->loadResult(*empty); }), InvalidOp::RTRC_Other);

    // A COBOL variable without an address; a file description needs none, nor
    // does a value the evaluator computed.
    useRepresentation(EvaluationEnvironment::languageCOBOL, width());
    CountingItem nowhere(rep(), deletions, 4, TypeItem(130u));
    nowhere.setLoadedFromVariable(true);
    EXPECT_EQ(raisedCode([&] { nowhere.getTreeRoot()->loadResult(nowhere); }), InvalidOp::RTRC_ReadMemoryFailed);
    CountingItem computed(rep(), deletions, 4, TypeItem(130u));
    EXPECT_EQ(raisedCode([&] { computed.getTreeRoot()->loadResult(computed); }), 0);
    EXPECT_TRUE(computed.getTreeRoot()->isLoaded());
    CountingItem file(rep(), deletions, 0, TypeItem(host.records().fileDescriptorType("F")));
    EXPECT_EQ(raisedCode([&] { file.getTreeRoot()->loadResult(file); }), 0);
    EXPECT_TRUE(file.getTreeRoot()->isLoaded());
}

TEST_P(RootTest, AFortranPointerResultShowsItsTarget)
{
    useRepresentation(EvaluationEnvironment::languageFortran, width());
    HostRecordStore::FortranBlocks blocks;
    blocks.dataLocation = dwarf::Builder().pushObjectAddress().derefSize(static_cast<std::uint8_t>(width())).bytes();
    const TypeItem* bound =
        BoundTypeItem::getType(TypeItem(host.records().fortranPointerType(TYPE_INDEX{0, 130}, blocks)));
    host.memory().storeBigEndian(0xA00, 0xB00, width());
    host.memory().store(0xB00, std::vector<std::uint8_t>(16, 0));
    host.memory().store(0xB00, {0, 0, 0, 42});
    bound->setSymbolLocation(at(0xA00));
    auto item = itemAt(*bound, 0xA00);
    RootTreeNode* root = item->getTreeRoot();
    root->loadResult(*item);
    EXPECT_FALSE(root->readFailed());
    EXPECT_EQ(root->location().address().addr(), 0xB00u);
    ASSERT_GE(ownBytes(*root).size(), 4u);
    EXPECT_EQ(std::vector<unsigned char>(root->ownBuffer(), root->ownBuffer() + 4),
              (std::vector<unsigned char>{0, 0, 0, 42}));
}

TEST_P(RootTest, FortranChangesBetweenEvaluationsForceARebuild)
{
    useRepresentation(EvaluationEnvironment::languageFortran, width());
    auto first = itemAt(TypeItem(130u), 0x800);
    first->setIsAssociated(true);
    RootTreeNode* root = first->getTreeRoot();
    EXPECT_EQ(raisedCode([&] { root->updateResult(first.get()); }), 0) << "the first records the states";

    auto same = itemAt(TypeItem(130u), 0x800);
    EXPECT_EQ(raisedCode([&] { root->updateResult(same.get()); }), 0);
    auto disassociated = itemAt(TypeItem(130u), 0x800);
    disassociated->setIsAssociated(false);
    EXPECT_EQ(raisedCode([&] { root->updateResult(disassociated.get()); }), InvalidOp::RTRC_ForceRebuildExpr);
    EXPECT_EQ(raisedCode([&] { root->updateResult(disassociated.get()); }), 0) << "the new state was recorded";
    auto deallocated = itemAt(TypeItem(130u), 0x800);
    deallocated->setIsAssociated(false);
    deallocated->setIsAllocated(false);
    EXPECT_EQ(raisedCode([&] { root->updateResult(deallocated.get()); }), InvalidOp::RTRC_ForceRebuildExpr);

    // The locals view asks whether a node changed since it last asked.
    EXPECT_TRUE(root->changed(true)) << "associated, where nothing was recorded";
    EXPECT_FALSE(root->changed(true));
    EXPECT_TRUE(root->changed(false));
    EXPECT_FALSE(root->changed(false));

    // A character pointer held by the evaluator whose length changes.
    const TypeItem text(host.records().pointerType(TYPE_INDEX{0, 148}, width()));
    LengthItem five(rep(), deletions, text, 5);
    RootTreeNode* textRoot = five.getTreeRoot();
    textRoot->loadResult(five);
    EXPECT_EQ(textRoot->lengthAttribute(), 5u);
    EXPECT_EQ(raisedCode([&] { textRoot->updateResult(&five); }), 0);
    five.length = 6; // the same result, evaluated again
    EXPECT_EQ(raisedCode([&] { textRoot->updateResult(&five); }), InvalidOp::RTRC_ForceRebuildExpr);

    // Outside Fortran nothing is tracked.
    useRepresentation(languageC, width());
    auto c = itemAt(TypeItem(130u), 0x800);
    RootTreeNode* cRoot = c->getTreeRoot();
    cRoot->updateResult(c.get());
    c->setIsAssociated(false);
    EXPECT_EQ(raisedCode([&] { cRoot->updateResult(c.get()); }), 0);
}

TEST_P(RootTest, SectionElementsAreNamedByLanguageAndMadeOnce)
{
    struct Case {
        int language;
        unsigned long long index;
        const char* name;
    } cases[] = {
        {languageC, 1, "(a)[0]"},
        {languageC, 3, "(a)[2]"},
        {EvaluationEnvironment::languageCOBOL, 1, "(a)(1)"},
        {EvaluationEnvironment::languageFortran, 2, "(a)[1]"},
    };
    for (const Case& c : cases) {
        useRepresentation(c.language, width());
        setParameters({-2, -2, -1});
        auto item = section(1, 3, 1);
        Reference<RootTreeNode> root(new RootTreeNode(item->type(), rep(), "a"));
        root->loadResult(*item);
        EXPECT_EQ(root->QueryArrayType(), 0x4001u);
        unsigned count = 0;
        int flag = 7;
        ASSERT_EQ(root->QueryArrayInfo(count, flag), 0);
        EXPECT_EQ(count, 3u);
        EXPECT_EQ(flag, 0);

        UpdateTreeNode* element = nullptr;
        ASSERT_EQ(root->QueryArrayElementInfo(c.index, element), 0) << c.name;
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(text(element->name()), c.name);
        auto* elementRoot = static_cast<RootTreeNode*>(element);
        EXPECT_EQ(parametersOf(*elementRoot), (std::vector<int>{-1, static_cast<int>(c.index - 1), -1}));
        EXPECT_TRUE(elementRoot->isSectionElement());
        EXPECT_EQ(elementRoot->QueryArrayType(), 0x4001u);
        const unsigned references = element->referenceCount();

        UpdateTreeNode* again = nullptr;
        ASSERT_EQ(root->QueryArrayElementInfo(c.index, again), 0);
        EXPECT_EQ(again, element);
        EXPECT_EQ(root->childCount(), 1u);
        EXPECT_EQ(element->referenceCount(), references) << "no reference is added for the caller";
    }
}

TEST_P(RootTest, SectionElementParametersAreChecked)
{
    setParameters({-2, -1});
    struct Case {
        long long position;
        unsigned long long index;
        std::uint16_t status;
        int message;
    } cases[] = {
        {1, 0, 10000, 0}, // indexes count from 1
        {1, 4, 10000, 0}, // past the last element
        {2, 1, 0, 49},    // the position is past the parameters
        {-1, 1, 0, 49},   // far past, as an unsigned position
    };
    for (const Case& c : cases) {
        auto item = section(1, 3, c.position);
        Reference<RootTreeNode> root(new RootTreeNode(item->type(), rep(), "a"));
        root->loadResult(*item);
        UpdateTreeNode* element = nullptr;
        ASSERT_EQ(root->QueryArrayElementInfo(c.index, element), c.status) << c.position << " " << c.index;
        if (c.status != 0)
            continue;
        EXPECT_EQ(static_cast<RootTreeNode*>(element)->messageId(), c.message);
        EXPECT_EQ(parametersOf(*static_cast<RootTreeNode*>(element)), (std::vector<int>{-2, -1}))
            << "nothing is written outside the list";
        const char* shown = nullptr;
        ASSERT_EQ(element->FormatValue(2, *item, shown, 100), 0);
        EXPECT_EQ(std::string(shown), messageText(c.message));
    }

    // A section of stride 0, or no result at all: no elements.
    StackItemS8 one(rep(), 1), zero(rep(), 0);
    StackItemArraySection flat(one, one, zero, one);
    Reference<RootTreeNode> root(new RootTreeNode(flat.type(), rep(), "a"));
    root->loadResult(flat);
    unsigned count = 0;
    int flag = 0;
    EXPECT_EQ(root->QueryArrayInfo(count, flag), 10000);
    EXPECT_EQ(count, 1u);
    UpdateTreeNode* element = nullptr;
    EXPECT_EQ(root->QueryArrayElementInfo(1, element), 10000);
}

TEST_P(RootTest, SectionElementsEvaluateWithTheirOwnParameters)
{
    useRepresentation(EvaluationEnvironment::languageCOBOL, width());
    setParameters({-1});
    // A table of ten rows indexed by the element's parameter: rows 1 to 10.
    const TYPE_INDEX element = host.records().integerType(32, false);
    const TypeItem table(host.records().arrayType(host.records().arrayType(element, 40), 400));
    buildExpression([&](EE_InstructionStream& s) {
        s.genLoadIntegralConstant(1, &intType, 1, 4);
        s.genLoadParam(0);
        s.genRankIndex(1, &table);
    });
    auto item = section(1, 12, 0);
    Reference<RootTreeNode> root(new RootTreeNode(item->type(), rep(), "a"));
    root->loadResult(*item);

    // Element 1 runs with parameter 0, below the table's first row.
    UpdateTreeNode* first = nullptr;
    ASSERT_EQ(root->QueryArrayElementInfo(1, first), 0);
    auto* firstRoot = static_cast<RootTreeNode*>(first);
    EXPECT_EQ(firstRoot->messageId(), 48);
    EXPECT_EQ(firstRoot->result(), nullptr);
    const char* shown = nullptr;
    ASSERT_EQ(first->FormatValue(2, *item, shown, 100), 0);
    EXPECT_EQ(std::string(shown), messageText(48));
    EXPECT_EQ(rep().runtimeStack().count(), 0u) << "the failed run leaves nothing on the stack";

    // The expression is built again: it yields its parameter. The next
    // element evaluates, and so does the first once asked again.
    buildExpression([&](EE_InstructionStream& s) { s.genLoadParam(0); });
    UpdateTreeNode* second = nullptr;
    ASSERT_EQ(root->QueryArrayElementInfo(2, second), 0);
    EXPECT_EQ(static_cast<RootTreeNode*>(second)->messageId(), 0);
    EXPECT_EQ(valueOf(second), 1);
    ASSERT_NE(first->evaluateNow(), nullptr);
    EXPECT_EQ(firstRoot->messageId(), 0) << "a good evaluation clears the message";
    EXPECT_EQ(valueOf(first), 0);

    // Evaluating again replaces the element's result (the former one is
    // deleted); a failure keeps the last result and shows the message.
    ASSERT_NE(first->evaluateNow(), nullptr);
    EXPECT_EQ(valueOf(first), 0);
    buildExpression([&](EE_InstructionStream& s) {
        s.genLoadParam(0);
        s.genLoadParam(0);
    });
    first->evaluateNow();
    EXPECT_EQ(firstRoot->messageId(), 49) << "two values left on the stack";
    EXPECT_NE(firstRoot->result(), nullptr);
}

TEST_P(RootTest, ReleasingEveryHostReferenceFreesTheTree)
{
    setParameters({-2, -1});
    buildExpression([&](EE_InstructionStream& s) { s.genLoadParam(1); });
    auto* item = section(1, 5, 1).release();
    RootTreeNode* root = item->getTreeRoot();
    root->addReference(); // the host's, from building the root
    root->loadResult(*item);
    std::vector<UpdateTreeNode*> held;
    for (unsigned long long i = 1; i <= 5; ++i) {
        UpdateTreeNode* element = nullptr;
        ASSERT_EQ(root->QueryArrayElementInfo(i, element), 0);
        element->addReference(); // the host's, from the element query
        EXPECT_EQ(valueOf(element), static_cast<long long>(i - 1));
        held.push_back(element);
    }
    // The host gives back the elements, the root, then the result.
    for (UpdateTreeNode* element : held)
        element->removeReference();
    EXPECT_EQ(root->childCount(), 5u);
    root->removeReference();
    EXPECT_EQ(root->referenceCount(), 1u) << "the item's";
    delete item; // the leak checker sees anything left behind
}

TEST_P(RootTest, TheItemLeavesARootTheHostStillHolds)
{
    auto* item = itemAt(TypeItem(130u), 0x800).release();
    RootTreeNode* root = item->getTreeRoot();
    root->addReference();
    root->loadResult(*item);
    ASSERT_EQ(root->result(), item);
    delete item;
    EXPECT_EQ(root->result(), nullptr);
    EXPECT_EQ(root->evaluationBuffer(), nullptr);
    EXPECT_FALSE(root->isLoaded());
    root->removeReference();
}

INSTANTIATE_TEST_SUITE_P(AddressSizes, RootTest, ::testing::Values(4u, 8u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return info.param == 8 ? "Bits64" : "Bits32";
                         });

} // namespace
