# Build step (cmake -P): the shared libraries the program may load beyond
# those it is linked with, one SONAME a line, for packaging.
#   -DNEEDS=<the carried modules' lists, "|" between> -DOPENED=<SONAMEs opened by name, "|" between>
#   -DOUTPUT=<file>
string(REPLACE "|" ";" needs "${NEEDS}")
string(REPLACE "|" ";" names "${OPENED}")
foreach(file ${needs})
  file(STRINGS ${file} lines)
  list(APPEND names ${lines})
endforeach()
list(REMOVE_DUPLICATES names)
list(SORT names)
string(REPLACE ";" "\n" text "${names}")
file(WRITE ${OUTPUT} "${text}\n")
