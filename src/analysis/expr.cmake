# Smoothing and the expression language.
find_package(BISON 3.6 REQUIRED)

# The grammar's parser is generated into the build tree (pure, so compilations on different
# threads share nothing).
set(VORNA_EXPR_GEN_DIR ${CMAKE_BINARY_DIR}/generated/analysis)
file(MAKE_DIRECTORY ${VORNA_EXPR_GEN_DIR})
bison_target(VornaExpressionGrammar
    ${CMAKE_CURRENT_LIST_DIR}/ExpressionGrammar.y
    ${VORNA_EXPR_GEN_DIR}/ExpressionGrammar.cpp
    DEFINES_FILE ${VORNA_EXPR_GEN_DIR}/ExpressionGrammar.h
    COMPILE_FLAGS "-Wall -Werror")

target_sources(vorna_analysis PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ExpressionLexer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ExpressionToken.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ExpressionProgram.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ExpressionDefine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SmoothCommand.cpp
    ${BISON_VornaExpressionGrammar_OUTPUTS}
)
target_include_directories(vorna_analysis PRIVATE ${VORNA_EXPR_GEN_DIR})
