# Turns the two cubature CSV files into C++ arrays. Each file: a header line
# "d_cm,<lengths...>", then one line per diameter: the diameter, then the
# volumes of one log in m3 (0 = gap). The diameters and lengths must run
# without holes, because the engine indexes the arrays by arithmetic.

function(read_table csv first_d first_len_dm rows cols out_var)
  file(STRINGS "${csv}" lines)
  list(LENGTH lines nlines)
  math(EXPR expected "${rows} + 1")
  if(NOT nlines EQUAL expected)
    message(FATAL_ERROR "${csv}: ${nlines} lines, expected ${expected}")
  endif()
  list(GET lines 0 header)
  string(REPLACE "," ";" header "${header}")
  list(REMOVE_AT header 0)
  list(LENGTH header ncols)
  if(NOT ncols EQUAL cols)
    message(FATAL_ERROR "${csv}: ${ncols} length columns, expected ${cols}")
  endif()
  math(EXPR k 0)
  foreach(h IN LISTS header)
    math(EXPR dm "${first_len_dm} + ${k}")
    math(EXPR whole "${dm} / 10")
    math(EXPR tenth "${dm} % 10")
    if(NOT h STREQUAL "${whole}.${tenth}")
      message(FATAL_ERROR "${csv}: column ${k} is ${h}, expected ${whole}.${tenth}")
    endif()
    math(EXPR k "${k} + 1")
  endforeach()

  set(body "")
  math(EXPR last "${rows}")
  foreach(r RANGE 1 ${last})
    list(GET lines ${r} line)
    string(REPLACE "," ";" cells "${line}")
    list(GET cells 0 d)
    math(EXPR want "${first_d} + ${r} - 1")
    if(NOT d EQUAL want)
      message(FATAL_ERROR "${csv}: line ${r} has diameter ${d}, expected ${want}")
    endif()
    list(REMOVE_AT cells 0)
    list(LENGTH cells n)
    if(NOT n EQUAL cols)
      message(FATAL_ERROR "${csv}: d=${d} has ${n} cells, expected ${cols}")
    endif()
    foreach(c IN LISTS cells)
      if(NOT c MATCHES "^[0-9]+(\\.[0-9]+)?$")
        message(FATAL_ERROR "${csv}: d=${d} holds the cell '${c}'")
      endif()
    endforeach()
    string(REPLACE ";" ", " cells "${cells}")
    string(APPEND body "    /* d = ${d} cm */ ${cells},\n")
  endforeach()
  set(${out_var} "${body}" PARENT_SCOPE)
endfunction()

read_table("${GOST_CSV}" 3 10 118 86 gost)
read_table("${ISO_CSV}" 4 5 76 146 iso)

file(WRITE "${OUT}.tmp"
"// Generated at build time from engine/data/*.csv; do not edit.
#include \"engine/volumetables.h\"

namespace zel {

const double GostVolumeTable[kGostRows * kGostCols] = {
${gost}};

const double IsoVolumeTable[kIsoRows * kIsoCols] = {
${iso}};

} // namespace zel
")
configure_file("${OUT}.tmp" "${OUT}" COPYONLY)
