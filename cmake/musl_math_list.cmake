# musl's functions of a formula, and the helpers and tables they call, by the name of their source
# file and archive member: one list for the native programs (musl_math.cmake) and the page
# (web/libraries.cmake).
set(VEXILON_MUSL_MATH_FUNCTIONS
    sin cos sincos __sin __cos __rem_pio2 __rem_pio2_large tan __tan asin acos atan
    sinh cosh tanh asinh acosh atanh expm1 log1p __expo2 log log2 log10 exp pow hypot
    exp_data log_data log2_data pow_data
    __math_divzero __math_invalid __math_oflow __math_uflow __math_xflow)
