#ifndef EE_TEMPLATEARGUMENT_H
#define EE_TEMPLATEARGUMENT_H

class EE_Expression;
class EE_TypeDescriptor;

// One argument of a template-id, made by the services in the arena; the
// parser links the arguments in the order written.
class EE_TemplateArgument {
public:
    enum Kind : unsigned {
        TypeArgument = 0,
        ExpressionArgument = 1
    };

    explicit EE_TemplateArgument(EE_TypeDescriptor* t) : next(nullptr), kind(TypeArgument), type(t), expression(nullptr)
    {}
    explicit EE_TemplateArgument(EE_Expression* e)
        : next(nullptr), kind(ExpressionArgument), type(nullptr), expression(e)
    {}

    EE_TemplateArgument* next;
    Kind kind;
    EE_TypeDescriptor* type;   // a type argument
    EE_Expression* expression; // an expression argument
};

#endif
