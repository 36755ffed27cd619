/* The expression grammar. Code is generated in postfix order as each rule is reduced. */

%define api.pure full
%define api.prefix {vorna_expr_}
%define api.token.prefix {TOK_}
%parse-param {vorna::CToken& ctx}
%lex-param {vorna::CToken& ctx}

%code requires {
#include <string>
namespace vorna { class CToken; }
}

%code {
#include "analysis/ExpressionToken.h"

/* The state stack has room for 150 states and is never reallocated. Bison reports the stack
   exhausted when the last slot is taken, so one more slot than states is declared. */
#define YYINITDEPTH 151
#define YYMAXDEPTH 151

namespace {
int vorna_expr_lex(VORNA_EXPR_STYPE* value, vorna::CToken& ctx);
void vorna_expr_error(vorna::CToken& ctx, const char* message) {
    ctx.SetError(message);
}
}
}

%union {
    int op;
    double number;
}

%token <number> NUMBER
%token <op> ADDOP MULOP FUNC CHAN TAG
%token LPAREN RPAREN END

%left ADDOP
%precedence UNARY
%left MULOP

%%

input
    : expr END
    ;

expr
    : expr ADDOP expr          { ctx.Emit($2); }
    | expr MULOP expr          { ctx.Emit($2); }
    | ADDOP expr %prec UNARY   { ctx.Emit($1 - 2); }
    | FUNC LPAREN expr RPAREN  { ctx.Emit($1); }
    | LPAREN expr RPAREN
    | CHAN                     { ctx.Emit($1); }
    | TAG                      { if (!ctx.EmitTagAt($1)) YYABORT; }
    | NUMBER                   { ctx.EmitConstant($1); }
    ;

%%

namespace {

int vorna_expr_lex(VORNA_EXPR_STYPE* value, vorna::CToken& ctx) {
    using vorna::ExprTokenKind;
    if (ctx.EndDelivered())
        return TOK_YYEOF;
    vorna::ExprToken token = ctx.NextToken();
    switch (token.kind) {
    case ExprTokenKind::End:
        ctx.SetEndDelivered();
        return TOK_END;
    case ExprTokenKind::Number:
        value->number = ctx.NumberValue(token.text);
        return TOK_NUMBER;
    case ExprTokenKind::LParen:
        return TOK_LPAREN;
    case ExprTokenKind::RParen:
        return TOK_RPAREN;
    case ExprTokenKind::AddOp:
        value->op = token.opcode;
        return TOK_ADDOP;
    case ExprTokenKind::MulOp:
        value->op = token.opcode;
        return TOK_MULOP;
    case ExprTokenKind::Func:
        value->op = token.opcode;
        return TOK_FUNC;
    case ExprTokenKind::Chan:
        value->op = token.opcode;
        return TOK_CHAN;
    case ExprTokenKind::Tag:
        value->op = ctx.KeepName(token.text);
        return TOK_TAG;
    case ExprTokenKind::TooLong:
        ctx.SetError("Token too long");
        return TOK_VORNA_EXPR_UNDEF;
    }
    return TOK_VORNA_EXPR_UNDEF;
}

} // namespace

namespace vorna {

int ParseExpression(CToken& ctx) {
    return vorna_expr_parse(ctx);
}

} // namespace vorna
