#ifndef NORVEXA_TYPES_TEMPLATEITEM_H
#define NORVEXA_TYPES_TEMPLATEITEM_H

// The description of a C++ template name made during a request; the
// evaluation environment owns each one and deletes it on reset.
class TemplateItem {
public:
    TemplateItem() = default;
    virtual ~TemplateItem() = default;

    TemplateItem(const TemplateItem&) = delete;
    TemplateItem& operator=(const TemplateItem&) = delete;
};

#endif
