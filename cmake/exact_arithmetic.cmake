# SPDX-License-Identifier: MIT
# The numbers this program prints depend on every rounding of its arithmetic:
# intermediates are carried in the x87 80-bit extended format and rounded to
# single or double only where a value is stored, and a*b+c is never
# contracted into one fused operation (which would skip a rounding).
#
# GNDFIT_SOFT_EXTENDED chooses how the extended format is computed:
#   AUTO  the x87's long double where the compiler has it, else software
#   ON    the software type everywhere (on x86 too, to test it)
#   OFF   the x87's long double, or a configure error where there is none
set(GNDFIT_SOFT_EXTENDED AUTO CACHE STRING
    "Software 80-bit extended arithmetic: AUTO, ON or OFF")
set_property(CACHE GNDFIT_SOFT_EXTENDED PROPERTY STRINGS AUTO ON OFF)
option(GNDFIT_PORTABLE_WIDE
       "Use the portable two-halves 128-bit integers even where the compiler has __int128" OFF)

include(CheckCXXSourceCompiles)
check_cxx_source_compiles([[
  #include <cfloat>
  static_assert(LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384, "long double is not x87 extended");
  int main() { return 0; }
]] GNDFIT_HAVE_X87_LONG_DOUBLE)

if(GNDFIT_SOFT_EXTENDED STREQUAL "AUTO")
  if(GNDFIT_HAVE_X87_LONG_DOUBLE)
    set(GNDFIT_USE_SOFT_EXTENDED 0)
  else()
    set(GNDFIT_USE_SOFT_EXTENDED 1)
  endif()
elseif(GNDFIT_SOFT_EXTENDED STREQUAL "ON")
  set(GNDFIT_USE_SOFT_EXTENDED 1)
elseif(GNDFIT_SOFT_EXTENDED STREQUAL "OFF")
  if(NOT GNDFIT_HAVE_X87_LONG_DOUBLE)
    message(FATAL_ERROR
      "GNDFIT_SOFT_EXTENDED=OFF needs a compiler whose long double is the x87 "
      "80-bit extended format (x86 with GCC, Clang or MinGW); this one has "
      "none. Use AUTO or ON for the software type.")
  endif()
  set(GNDFIT_USE_SOFT_EXTENDED 0)
else()
  message(FATAL_ERROR "GNDFIT_SOFT_EXTENDED must be AUTO, ON or OFF, not '${GNDFIT_SOFT_EXTENDED}'")
endif()

if(GNDFIT_USE_SOFT_EXTENDED)
  message(STATUS "gndfit: extended arithmetic in software")
else()
  message(STATUS "gndfit: extended arithmetic on the x87")
endif()

# Applied to every target of ours through gndfit_options: never contract,
# never relax IEEE semantics.  The choice of extended type is a definition
# of the model library (src/CMakeLists.txt), so that a test build can hold
# both a hardware and a software model.
set(GNDFIT_EXACT_ARITHMETIC_FLAGS -ffp-contract=off -fno-fast-math)
set(GNDFIT_EXACT_ARITHMETIC_DEFINITIONS)
if(GNDFIT_PORTABLE_WIDE)
  list(APPEND GNDFIT_EXACT_ARITHMETIC_DEFINITIONS GNDFIT_PORTABLE_WIDE)
endif()
