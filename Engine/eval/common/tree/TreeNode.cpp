#include "tree/TreeNode.h"

#include <cstring>

#include "services/EvaluationEnvironment.h"
#include "services/SVC.h"
#include "tree/UpdateTreeNode.h"
#include "types/SymbolItem.h"

TreeNode::TreeNode(const TypeItem& type, const char* name, std::int64_t offset, const TypeItem*)
    : name_(reinterpret_cast<const unsigned char*>(name != nullptr ? name : ""),
            static_cast<unsigned>(name != nullptr ? std::strlen(name) : 0)),
      offset_(offset)
{
    if (type.hasFlag(TypeFlags::upcShared))
        flags2_ |= flag2Shared;
    setDataType(type);
}

TreeNode::TreeNode(const TypeItem& type, const TypeItem& secondType, const char* name, const TypeItem*)
    : dataType_(type),
      secondType_(secondType),
      name_(reinterpret_cast<const unsigned char*>(name != nullptr ? name : ""),
            static_cast<unsigned>(name != nullptr ? std::strlen(name) : 0))
{
    flags_ = flagBaseClass;
    if (type.hasFlag(TypeFlags::upcShared))
        flags2_ |= flag2Shared;
}

TreeNode::~TreeNode()
{
    removeChildren();
    // A node is destroyed only once no list holds it: a former parent has
    // already let go of it (removeChildren clears the link), so the parent
    // is left alone.
    parent_ = nullptr;
    if (attachmentDeleter_ != nullptr && attachment_ != nullptr)
        attachmentDeleter_(attachment_);
    delete showSelfSymbol_;
    freeBuffer();
    location_.clear();
}

bool TreeNode::setDataType(const TypeItem& type)
{
    bool changed = !(dataType_.typeIndex() == type.typeIndex());
    dataType_ = type;
    flags_ &= static_cast<std::uint8_t>(~flagReference);
    if (type.typeIndex().module() == 0 && type.typeIndex().index() == 0 && SVC::tracing())
        SVC::fTrace(__PRETTY_FUNCTION__, 198, "Null type provided - name = %s", name_.data());
    const _TYPE_ENTRY* e = type.typeIndex().module() == 0 ? nullptr : type.typeEntry();
    if (e != nullptr && e->leaf == TE_REFERENCE) {
        flags_ |= flagReference;
        dataItemType_ = TypeItem(TYPE_INDEX(e->reference.referent));
        if (dataItemType_.typeIndex().module() == 0 && dataItemType_.typeIndex().index() == 0 && SVC::tracing())
            SVC::fTrace(__PRETTY_FUNCTION__, 207, "Null referenced type provided - name = %s", name_.data());
    }
    return changed;
}

const TypeItem& TreeNode::typeOfDataItem() const
{
    return (flags_ & flagReference) != 0 ? dataItemType_ : dataType_;
}

const char* TreeNode::shortTypeName() const
{
    return dataType_.shortTypeName();
}

void TreeNode::setAttachment(void* attachment, void (*deleter)(void*))
{
    if (attachmentDeleter_ != nullptr && attachment_ != nullptr && attachment_ != attachment)
        attachmentDeleter_(attachment_);
    attachment_ = attachment;
    attachmentDeleter_ = deleter;
}

void TreeNode::adoptSqlEntry(std::unique_ptr<SqlTypeRegistry::Registration> entry)
{
    sqlEntry_ = std::move(entry);
}

// ---- children -------------------------------------------------------------

void TreeNode::addChild(Reference<UpdateTreeNode>& child)
{
    if (!child)
        return;
    TreeNode* node = child.get();
    if (!lastChild_)
        firstChild_ = child;
    else
        static_cast<TreeNode*>(lastChild_.get())->nextSibling_ = child;
    lastChild_ = child;
    children_.push_back(child.get());
    if (namesHashed_)
        childrenByName_.emplace(std::string(reinterpret_cast<const char*>(node->name_.data()), node->name_.length()),
                                child.get());
    node->parent_ = this;
    node->detached_ = false;
    if (rank_ > 0)
        node->rank_ = rank_ - 1;
    if ((flags2_ & flag2Shared) != 0)
        node->flags2_ |= flag2Shared;
    if (node->attachment_ == nullptr)
        node->attachment_ = attachment_;
}

void TreeNode::removeChildren()
{
    Reference<UpdateTreeNode> child = std::move(firstChild_);
    lastChild_.reset();
    children_.clear();
    childrenByName_.clear();
    namesHashed_ = false;
    elementSlots_.clear();
    distantElements_.clear();
    while (child) {
        TreeNode* node = child.get();
        Reference<UpdateTreeNode> next = std::move(node->nextSibling_);
        node->parent_ = nullptr;
        node->detached_ = true;
        if (node->attachmentDeleter_ == nullptr)
            node->attachment_ = nullptr;
        child = std::move(next);
    }
}

void TreeNode::loadChildren()
{
    for (TreeNode* c = firstChild_.get(); c != nullptr; c = c->nextSibling_.get())
        c->loadThisNode(loadNodeAndChildren);
}

unsigned TreeNode::childCount() const
{
    return static_cast<unsigned>(children_.size());
}

UpdateTreeNode* TreeNode::childNamed(const std::string& name) const
{
    if (!namesHashed_) {
        childrenByName_.reserve(children_.size());
        for (UpdateTreeNode* c : children_) {
            const ByteString& n = static_cast<const TreeNode*>(c)->name_;
            childrenByName_.emplace(std::string(reinterpret_cast<const char*>(n.data()), n.length()), c);
        }
        namesHashed_ = true;
    }
    const auto found = childrenByName_.find(name);
    return found != childrenByName_.end() ? found->second : nullptr;
}

UpdateTreeNode* TreeNode::childAt(unsigned long long n) const
{
    return n >= 1 && n <= children_.size() ? children_[static_cast<std::size_t>(n - 1)] : nullptr;
}

UpdateTreeNode* TreeNode::elementAt(unsigned long long index) const
{
    if (index >= 1 && index <= elementSlots_.size())
        if (UpdateTreeNode* made = elementSlots_[static_cast<std::size_t>(index - 1)])
            return made;
    if (distantElements_.empty())
        return nullptr;
    const auto found = distantElements_.find(index);
    return found != distantElements_.end() ? found->second : nullptr;
}

void TreeNode::addElement(Reference<UpdateTreeNode>& child, unsigned long long index)
{
    if (!child || index < 1)
        return;
    addChild(child);
    static_cast<TreeNode*>(child.get())->elementIndex_ = index;
    // An index near those made so far takes a slot (the slots grow as a
    // vector grows, so a run of n elements costs n); one far beyond them,
    // such as the last of a million, goes to the map.
    const std::size_t slots = elementSlots_.size();
    if (index <= slots) {
        elementSlots_[static_cast<std::size_t>(index - 1)] = child.get();
    } else if (index - slots <= slots + 1024) {
        elementSlots_.resize(static_cast<std::size_t>(index), nullptr);
        elementSlots_.back() = child.get();
    } else {
        distantElements_.emplace(index, child.get());
    }
}

TreeNode* TreeNode::nextNode() const
{
    if (firstChild_)
        return firstChild_.get();
    for (const TreeNode* n = this; n != nullptr; n = n->parent_) {
        if (n->nextSibling_)
            return n->nextSibling_.get();
    }
    return nullptr;
}

void TreeNode::getArraySubscripts(List<unsigned long long>& subscripts) const
{
    if (parent_ == nullptr)
        return;
    parent_->getArraySubscripts(subscripts);
    if (parent_->typeOfDataItem().hasFlag(TypeFlags::array))
        subscripts.append(elementIndex_);
}

// ---- virtual slots --------------------------------------------------------

EvaluationEnvironment* TreeNode::internalRep() const
{
    for (const TreeNode* n = parent_; n != nullptr; n = n->parent_) {
        if (n->isRootNode())
            return n->internalRep();
    }
    return nullptr;
}

bool TreeNode::isRootNode() const
{
    return false;
}

TreeNode* TreeNode::rootNode()
{
    return parent_ != nullptr ? parent_->rootNode() : nullptr;
}

int TreeNode::localNum() const
{
    return parent_ != nullptr ? parent_->localNum() : 0;
}

void TreeNode::invalidate()
{
    flags_ &= static_cast<std::uint8_t>(~flagLoaded);
    for (TreeNode* c = firstChild_.get(); c != nullptr; c = c->nextSibling_.get())
        c->invalidate();
    freeBuffer();
}

std::uint16_t TreeNode::QueryCustomFormat(char*, unsigned int) const
{
    return 0;
}

void TreeNode::addLengthAttribute() const {}

void TreeNode::setInternalRepresentation() const
{
    if (parent_ != nullptr)
        parent_->setInternalRepresentation();
}

bool TreeNode::useAddress() const
{
    return parent_ != nullptr && parent_->useAddress();
}

unsigned char* TreeNode::evaluationBuffer() const
{
    if (bufferStart_ != nullptr)
        return bufferStart_;
    if (parent_ == nullptr)
        return nullptr;
    unsigned char* base = parent_->evaluationBuffer();
    return base != nullptr ? base + offset_ : nullptr;
}

unsigned char* TreeNode::evaluationBufferEnd() const
{
    for (const TreeNode* n = this; n != nullptr; n = n->parent_) {
        if (n->bufferStart_ != nullptr)
            return n->bufferEnd_;
    }
    return nullptr;
}

unsigned char* TreeNode::evaluationBufferStart() const
{
    for (const TreeNode* n = this; n != nullptr; n = n->parent_) {
        if (n->bufferStart_ != nullptr)
            return n->bufferStart_;
    }
    return evaluationBuffer();
}

std::uint64_t TreeNode::evaluationBufferSize() const
{
    if (bufferSize_ == 0)
        bufferSize_ = dataType_.typeSize();
    return bufferSize_;
}

std::uint64_t TreeNode::dataLength() const
{
    return 0;
}

void TreeNode::loadResult(const StackItem& item)
{
    if (isLoaded())
        return;
    if (parent_ != nullptr)
        parent_->loadResult(item);
}

void TreeNode::updateResult(const StackItem*) {}

void TreeNode::freeBuffer() const
{
    if (!bufferBorrowed_)
        delete[] bufferStart_;
    bufferBorrowed_ = false;
    bufferStart_ = nullptr;
    bufferEnd_ = nullptr;
}

void TreeNode::borrowBuffer(unsigned char* start, unsigned char* end) const
{
    freeBuffer();
    bufferStart_ = start;
    bufferEnd_ = start != nullptr ? end : nullptr;
    bufferBorrowed_ = start != nullptr;
}

void TreeNode::appendTypeName(const char* text) const
{
    if (text == nullptr || *text == 0)
        return;
    ByteString& name = const_cast<ByteString&>(typeName_);
    name += ByteString(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned>(std::strlen(text)));
}

void TreeNode::ensureBuffer(std::uint64_t size)
{
    // A buffer kept from before a type change may be too small for the type
    // the node has now; borrowed bytes are never written into.
    if (bufferStart_ != nullptr && !bufferBorrowed_ && ownBufferLength() >= size)
        return;
    freeBuffer();
    bufferStart_ = new unsigned char[size != 0 ? size : 1]();
    bufferEnd_ = bufferStart_ + size;
}

unsigned TreeNode::environmentAddressSize() const
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    return env != nullptr && env->addressSize() == 8 ? 8 : 4;
}

int TreeNode::environmentLanguage() const
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    return env != nullptr ? env->language() : 0;
}

ByteString TreeNode::debugNodeIdentifier() const
{
    const char* typeName = nullptr;
    try {
        typeName = dataType_.demangledTypeName(rank_);
    } catch (...) {
        typeName = nullptr;
    }
    if (typeName == nullptr)
        return ByteString(reinterpret_cast<const unsigned char*>("<No identifier>"), 15);
    std::string text(typeName);
    if (!name_.empty()) {
        text += ' ';
        text.append(reinterpret_cast<const char*>(name_.data()), name_.length());
    }
    return ByteString(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned>(text.size()));
}
