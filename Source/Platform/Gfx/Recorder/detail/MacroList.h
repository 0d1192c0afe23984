// Preprocessor helpers that turn a parenthesised list from GfxOps.inc into fields and statements.
#pragma once

// (a, b, c) -> a, b, c
#define QL_UNPAREN(...) __VA_ARGS__

// QL_FOR_EACH(m, a, b, c) -> m(a) m(b) m(c), for lists of up to 256 entries.
#define QL_PARENS ()
#define QL_EXPAND(...) QL_EXPAND3(QL_EXPAND3(QL_EXPAND3(QL_EXPAND3(__VA_ARGS__))))
#define QL_EXPAND3(...) QL_EXPAND2(QL_EXPAND2(QL_EXPAND2(QL_EXPAND2(__VA_ARGS__))))
#define QL_EXPAND2(...) QL_EXPAND1(QL_EXPAND1(QL_EXPAND1(QL_EXPAND1(__VA_ARGS__))))
#define QL_EXPAND1(...) __VA_ARGS__
#define QL_FOR_EACH(macro, ...) __VA_OPT__(QL_EXPAND(QL_FOR_EACH_STEP(macro, __VA_ARGS__)))
#define QL_FOR_EACH_STEP(macro, first, ...) macro(first) __VA_OPT__(QL_FOR_EACH_AGAIN QL_PARENS(macro, __VA_ARGS__))
#define QL_FOR_EACH_AGAIN() QL_FOR_EACH_STEP
