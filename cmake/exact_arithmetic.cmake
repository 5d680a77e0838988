# The numbers this program prints depend on every rounding of its arithmetic:
# intermediates are carried in the x87 80-bit extended format and rounded to
# single or double only where a value is stored.  That needs a compiler whose
# long double is the x87 format, and no contraction of a*b+c into one fused
# operation (which would skip a rounding).
include(CheckCXXSourceCompiles)
check_cxx_source_compiles([[
  #include <cfloat>
  static_assert(LDBL_MANT_DIG == 64, "long double is not x87 extended");
  int main() { return 0; }
]] GNDFIT_HAVE_X87_LONG_DOUBLE)
if(NOT GNDFIT_HAVE_X87_LONG_DOUBLE)
  message(FATAL_ERROR
    "gndfit needs a compiler whose long double is the x87 80-bit extended "
    "format (x86-64 with GCC, Clang or MinGW). This target has none; a "
    "software extended type is not implemented yet.")
endif()

# Applied to every target of ours through gndfit_options: never contract,
# never relax IEEE semantics.
set(GNDFIT_EXACT_ARITHMETIC_FLAGS -ffp-contract=off -fno-fast-math)
