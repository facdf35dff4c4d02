#include "tree/TreeNode.h"

#include <string>

#include "services/EvaluationEnvironment.h"
#include "tree/SqlHostVariable.h"
#include "tree/UpdateTreeNode.h"
#include "types/CreatedTypeItem.h"
#include "types/SqlTypeCodes.h"

namespace {

struct SqlField {
    const char* name;
    std::uint32_t sqlType;
    std::uint32_t length;
    std::int32_t elements;
    std::int64_t offset;
    std::uint64_t addressAdvance; // added to the parent entry's address
};

// The fields of an SQLCA.
const SqlField sqlcaFields[] = {
    {"SQLCAID", sqlChar, 8, 0, 0, 0},       {"SQLCABC", sqlInteger, 4, 0, 8, 0}, {"SQLCODE", sqlInteger, 4, 0, 12, 0},
    {"SQLERRML", sqlSmallint, 2, 0, 16, 0}, {"SQLERRMC", sqlChar, 70, 0, 18, 0}, {"SQLERRP", sqlChar, 8, 0, 88, 0},
    {"SQLERRD", sqlInteger, 4, 6, 0, 96},   {"SQLWARN", sqlChar, 1, 11, 0, 120}, {"SQLSTATE", sqlChar, 5, 0, 131, 0},
};

// The fields of a file reference (BLOB, CLOB and DBCLOB files).
const SqlField fileReferenceFields[] = {
    {"DATA-LENGTH", sqlInteger, 4, 0, 4, 0},
    {"FILE-OPTION", sqlInteger, 4, 0, 8, 0},
    {"FILE-NAME", sqlFileName, 255, 0, 12, 0},
};

} // namespace

UpdateTreeNode* TreeNode::makeSqlChild(const SqlTypeEntry& record, const char* name, std::int64_t offset) const
{
    std::unique_ptr<SqlTypeRegistry::Registration> entry = SqlTypeRegistry::add(record);
    Reference<UpdateTreeNode> child(new UpdateTreeNode(entry->typeItem(), name, offset));
    child->adoptSqlEntry(std::move(entry));
    const_cast<TreeNode*>(this)->addChild(child);
    return child.get();
}

bool TreeNode::makeSqlStructChildren(const SqlTypeEntry& entry) const
{
    const SqlField* fields = nullptr;
    std::size_t count = 0;
    switch (entry.sqlType()) {
    case sqlSqlca:
        fields = sqlcaFields;
        count = sizeof sqlcaFields / sizeof sqlcaFields[0];
        break;
    case sqlBlobFile:
    case sqlNullable(sqlBlobFile):
    case sqlClobFile:
    case sqlNullable(sqlClobFile):
    case sqlDbclobFile:
    case sqlNullable(sqlDbclobFile):
        fields = fileReferenceFields;
        count = sizeof fileReferenceFields / sizeof fileReferenceFields[0];
        break;
    default: return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        SqlTypeEntry record;
        record.setSqlType(fields[i].sqlType)
            .setLength(fields[i].length)
            .setMaxLength(fields[i].length)
            .setElementCount(fields[i].elements)
            .setAddress(entry.address() + fields[i].addressAdvance)
            .setAddressWidth(entry.addressWidth())
            .setCcsid(entry.ccsid());
        makeSqlChild(record, fields[i].name, fields[i].offset);
    }
    return true;
}

void TreeNode::makePointerChild(const TypeItem& pointerType) const
{
    const TypeItem* target = CreatedTypeItem::findReferenceType(pointerType.pointee());
    if (target == nullptr)
        return;
    std::string name(reinterpret_cast<const char*>(name_.data()), name_.length());
    if (environmentLanguage() == EvaluationEnvironment::languageFortran)
        name = "target of " + name;
    else if (simpleName(name_.data()))
        name = "*" + name;
    else
        name = "*(" + name + ")";
    Reference<UpdateTreeNode> child(new UpdateTreeNode(*target, name.c_str(), 0));
    const_cast<TreeNode*>(this)->addChild(child);
    static_cast<TreeNode*>(child.get())->rank_ = rank_;
}

void TreeNode::addMemberChild(const TypeItem& type, const char* name, std::int64_t offset) const
{
    Reference<UpdateTreeNode> child(new UpdateTreeNode(type, name, offset));
    const_cast<TreeNode*>(this)->addChild(child);
}
