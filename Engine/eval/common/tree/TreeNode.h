#ifndef NORVEXA_TREE_TREENODE_H
#define NORVEXA_TREE_TREENODE_H

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <plomkit/ByteString.h>
#include <plomkit/List.h>

#include "HostRecords.h"
#include "services/DebuggeeAddress.h"
#include "services/DebuggeeLocation.h"
#include "tree/Reference.h"
#include "tree/ReferenceCounted.h"
#include "types/SqlTypeRegistry.h"
#include "types/TypeItem.h"

class EvaluationEnvironment;
class StackItem;
class SymbolItem;
class UpdateTreeNode;

// A node of the tree that presents a result: its type and name, its place
// in the tree, where its value lives in the debuggee and the bytes of that
// value. Children (members, elements, base classes, pointer targets) are
// made when the host asks for them; a child takes its bytes from its
// ancestors' buffer whenever they hold them, so one read of the debuggee
// serves a whole structure.
//
// Offsets are signed 64-bit, element indexes and sizes 64-bit. Every value
// byte a node holds is the debuggee's big-endian image.
//
// Ownership: a parent holds a counted reference to each child; a child's
// link to its parent is plain. When children are removed (or their parent
// goes) their parent links are cleared and they are marked detached: a
// detached node that the host still holds answers its queries with 10000.
// The kind-89 entries a node makes for its children are owned by the child
// made over them.
class TreeNode : public ReferenceCounted {
public:
    enum NodeLoadType {
        loadNode = 0,
        loadNodeAndChildren = 1
    };

    // First flag byte.
    enum : std::uint8_t {
        flagLoadError = 1,
        flagMayNotLoad = 2,
        flagBaseClass = 4,
        flagStaticMember = 8,
        flagReference = 16,
        flagLoaded = 32,
        flagFromParent = 64,
        flagRegister = 128,
    };
    // Second flag byte.
    enum : std::uint8_t {
        flag2Shared = 2,
        flag2LoadError = 4,
        flag2Rebuild = 8,
        flag2PointerTargets = 16,
    };

    // A node of a type, named (null: ""), at an offset within its parent.
    // The parent type is not used.
    TreeNode(const TypeItem& type, const char* name, std::int64_t offset, const TypeItem* parentType);
    // A base-class node: the data type and the base type it locates.
    TreeNode(const TypeItem& type, const TypeItem& secondType, const char* name, const TypeItem* parentType);
    ~TreeNode() override;

    // ---- virtual slots -------------------------------------------------
    virtual DebuggeeLocation debuggeeAddress() const;
    virtual EvaluationEnvironment* internalRep() const;
    virtual bool isRootNode() const;
    virtual TreeNode* rootNode();
    virtual int localNum() const;
    virtual void invalidate();
    virtual std::uint16_t QueryArrayInfo(unsigned int& count, int& flag) const;
    virtual std::uint16_t QueryCustomFormat(char* buffer, unsigned int size) const;
    virtual std::uint16_t QueryArrayElementInfo(unsigned long long index, UpdateTreeNode*& node) const;
    virtual std::uint32_t QueryArrayType() const;
    virtual void addLengthAttribute() const;
    virtual void setInternalRepresentation() const;
    virtual bool useAddress() const;
    virtual unsigned char* evaluationBuffer() const;
    virtual unsigned char* evaluationBufferEnd() const;
    virtual unsigned char* evaluationBufferStart() const;
    virtual std::uint64_t evaluationBufferSize() const;
    virtual std::uint64_t dataLength() const;
    virtual void loadResult(const StackItem& item);
    virtual void updateResult(const StackItem* item);

    // ---- members of the same family -----------------------------------
    const TypeItem& typeOfDataItem() const;
    const TypeItem& dataType() const { return dataType_; }
    const TypeItem& secondType() const { return secondType_; }
    const unsigned char* memberName() const { return name_.data(); }
    const ByteString& name() const { return name_; }
    const ByteString& typeName() const { return typeName_; }
    const char* shortTypeName() const;
    bool hasShowSelfAction() const { return false; }
    // The next node in depth-first order.
    TreeNode* nextNode() const;
    // From the root down, the element index of each node whose parent's
    // data-item type is an array.
    void getArraySubscripts(List<unsigned long long>& subscripts) const;

    // Replaces the data type; returns whether it changed.
    bool setDataType(const TypeItem& type);

    // ---- children -----------------------------------------------------
    void addChild(Reference<UpdateTreeNode>& child);
    void removeChildren();
    void loadChildren();
    TreeNode* parent() const { return parent_; }
    UpdateTreeNode* firstChild() const { return firstChild_.get(); }
    UpdateTreeNode* nextSibling() const { return nextSibling_.get(); }
    unsigned childCount() const;
    // The child of a name, and the n-th child (from 1); null when there is
    // none. Both in constant time (the names are hashed when a name is first
    // asked for).
    UpdateTreeNode* childNamed(const std::string& name) const;
    UpdateTreeNode* childAt(unsigned long long n) const;
    // The element child of an array index (from 1) made by addElement; null
    // when there is none. In constant time, without its name.
    UpdateTreeNode* elementAt(unsigned long long index) const;
    // Adds child as the element of an array index (from 1).
    void addElement(Reference<UpdateTreeNode>& child, unsigned long long index);
    bool isDetached() const { return detached_; }

    // ---- queries --------------------------------------------------------
    std::uint16_t QueryStructInfo(unsigned int& count, const TypeItem& type) const;
    std::uint16_t QueryStructElementInfo(unsigned long long n, UpdateTreeNode*& node, unsigned char*& name) const;
    std::uint16_t QueryClassDataMemInfo(unsigned int n, UpdateTreeNode*& node, unsigned char*& name) const;
    void QueryArrayBaseIndex(int& base) const;
    std::uint16_t QueryResultType(TypeItem& type, unsigned short& count, unsigned short*& results,
                                  unsigned short*& reps, unsigned short& defaultIndex, unsigned char*& typeName,
                                  int inEvaluator, unsigned short& dataType, unsigned short& length);
    const unsigned short* QueryNodeActions() const;
    std::uint16_t showSelfAction() const { return 10000; }
    std::uint16_t watchData(const LCC_Eval_Context_Info* context, StackItem& item, EE_ADDR& address,
                            unsigned int& size) const;
    std::uint16_t calcStackItemAddress(const LCC_Eval_Context_Info* context, StackItem& item, EE_ADDR& address,
                                       TYPE_INDEX& index) const;
    ByteString debugNodeIdentifier() const;

    // ---- loading --------------------------------------------------------
    static DebuggeeAddress bufferAsAddress(const void* bytes, unsigned int size);
    bool loadThisNode(NodeLoadType type);
    bool loadDebuggeeData(bool fromDebuggee, NodeLoadType type);
    bool loadArray(NodeLoadType type);
    bool loadReference(NodeLoadType type);
    bool loadStaticDataMember(NodeLoadType type);
    bool loadBaseClass(NodeLoadType type);
    bool loadPointerOrArray(NodeLoadType type);
    bool loadSharedArray(NodeLoadType type);
    std::uint16_t getElementType(TypeItem& element) const;
    void dereferenceParent();

    // ---- fields the makers of nodes set ---------------------------------
    bool isLoaded() const { return (flags_ & flagLoaded) != 0; }
    std::uint8_t flags() const { return flags_; }
    std::uint8_t flags2() const { return flags2_; }
    void setFlags(std::uint8_t bits) { flags_ |= bits; }
    void clearFlags(std::uint8_t bits) { flags_ &= static_cast<std::uint8_t>(~bits); }
    void setFlags2(std::uint8_t bits) { flags2_ |= bits; }
    void clearFlags2(std::uint8_t bits) { flags2_ &= static_cast<std::uint8_t>(~bits); }
    std::int64_t offset() const { return offset_; }
    void setOffset(std::int64_t offset) { offset_ = offset; }
    unsigned rank() const { return rank_; }
    void setRank(unsigned rank) { rank_ = rank; }
    unsigned long long elementIndex() const { return elementIndex_; }
    void setElementIndex(unsigned long long index) { elementIndex_ = index; }
    void setStaticAddress(const DebuggeeAddress& address) { staticAddress_ = address; }
    const DebuggeeLocation& location() const { return location_; }
    void setLocation(const DebuggeeLocation& location) { location_ = location; }
    void* attachment() const { return attachment_; }
    // The attachment a root receives from the locals view; the node frees
    // it with the deleter given.
    void setAttachment(void* attachment, void (*deleter)(void*));
    std::uint32_t errorDetail() const { return errorDetail_; }
    // The node owns the registration of the SQL entry its type is made over.
    void adoptSqlEntry(std::unique_ptr<SqlTypeRegistry::Registration> entry);
    // The bytes the node holds itself (null when its bytes are its
    // ancestors').
    const unsigned char* ownBuffer() const { return bufferStart_; }
    std::uint64_t ownBufferLength() const { return static_cast<std::uint64_t>(bufferEnd_ - bufferStart_); }

protected:
    // Frees the node's own buffer (a borrowed one is only let go).
    void freeBuffer() const;
    // Lets the node's buffer be bytes it does not own (a result's value held
    // by the evaluator); freeBuffer lets go of them without freeing.
    void borrowBuffer(unsigned char* start, unsigned char* end) const;
    bool bufferIsBorrowed() const { return bufferBorrowed_; }
    // The buffer size evaluationBufferSize keeps (0: not known yet).
    std::uint64_t storedBufferSize() const { return bufferSize_; }
    void setStoredBufferSize(std::uint64_t size) const { bufferSize_ = size; }
    // Appends to the type name QueryResultType reported.
    void appendTypeName(const char* text) const;
    // A buffer of at least size bytes of the node's own (an existing one is
    // kept when it is large enough).
    void ensureBuffer(std::uint64_t size);
    // Makes a child of an SQL host variable: a kind-89 entry from the
    // record, an UpdateTreeNode over it, added to this node.
    UpdateTreeNode* makeSqlChild(const SqlTypeEntry& record, const char* name, std::int64_t offset) const;
    // The address of the node's value inside a result item held in debuggee
    // memory; false for a detached node or an item elsewhere.
    bool itemAddress(const StackItem& item, EE_ADDR& address) const;
    // The kind-89 entry of the node's type for the array queries: null (the
    // query answers 10000) for a detached node, a type without an entry
    // ("Missing type entry" traced) or another kind ("Invalid type %d").
    const _TYPE_ENTRY* sqlArrayEntry(const char* function, unsigned missingLine, unsigned invalidLine) const;
    // The array queries of a program's array (C, C++, Fortran and UPC
    // arrays, COBOL tables): its element count, and the element of an index
    // (from 1), named as the language writes a subscript.
    std::uint16_t programArrayInfo(unsigned int& count, int& flag) const;
    std::uint16_t programArrayElement(unsigned long long index, UpdateTreeNode*& node) const;
    // The element name of an index (from 1) below this node.
    std::string elementName(unsigned long long index, std::int64_t lower) const;
    // The kind-89 children of a structure host variable; false when the
    // code has none.
    bool makeSqlStructChildren(const SqlTypeEntry& entry) const;
    // The child of a pointer node (its pointee, by reference).
    void makePointerChild(const TypeItem& pointerType) const;
    // The size of a pointer held in the parent's buffer.
    unsigned pointerSize(const TypeItem& pointerType) const;
    // Environment questions.
    unsigned environmentAddressSize() const;
    int environmentLanguage() const;
    // Makes an entry's child of a member list or field list.
    void addMemberChild(const TypeItem& type, const char* name, std::int64_t offset) const;

private:
    friend class UpdateTreeNode;

    TypeItem dataType_;
    TypeItem dataItemType_;
    TypeItem secondType_;
    TreeNode* parent_ = nullptr;
    Reference<UpdateTreeNode> firstChild_;
    Reference<UpdateTreeNode> lastChild_;
    Reference<UpdateTreeNode> nextSibling_;
    // The children in order and by name, beside the counted list. The
    // names are hashed only once a child is looked for by its name: an
    // array's elements are found by their index.
    std::vector<UpdateTreeNode*> children_;
    mutable std::unordered_map<std::string, UpdateTreeNode*> childrenByName_;
    mutable bool namesHashed_ = false;
    // Array elements by index: dense from index 1 while the indexes asked
    // for stay near the ones made, the others in a map.
    std::vector<UpdateTreeNode*> elementSlots_;
    std::unordered_map<unsigned long long, UpdateTreeNode*> distantElements_;
    ByteString name_;
    ByteString typeName_;
    DebuggeeAddress staticAddress_;
    mutable DebuggeeLocation location_;
    SymbolItem* showSelfSymbol_ = nullptr;
    mutable unsigned char* bufferStart_ = nullptr;
    mutable unsigned char* bufferEnd_ = nullptr;
    mutable std::uint64_t bufferSize_ = 0;
    mutable bool bufferBorrowed_ = false;
    void* attachment_ = nullptr;
    void (*attachmentDeleter_)(void*) = nullptr;
    std::int64_t offset_ = 0;
    unsigned rank_ = 0;
    unsigned long long elementIndex_ = 0;
    std::uint32_t reserved_[2] = {0, 0};
    std::uint32_t errorDetail_ = 0;
    mutable std::uint8_t flags_ = 0;
    mutable std::uint8_t flags2_ = 0;
    mutable unsigned short actions_[3] = {0, 0, 0};
    std::uint32_t words_[2] = {3, 3};
    bool detached_ = false;
    std::unique_ptr<SqlTypeRegistry::Registration> sqlEntry_;
};

#endif
