# A fresh signing key for the end-to-end test of the maker's service: the
# secret goes to SECRET, the public key into HEADER as ZELMORA_UPDATE_KEY, so
# that the test's builds of the program trust this key and no other.
file(REMOVE "${SECRET}")
execute_process(COMMAND "${SERVICE}" keygen "${SECRET}"
                OUTPUT_VARIABLE key OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR key STREQUAL "")
  message(FATAL_ERROR "zelmora-service keygen failed (${status})")
endif()
file(WRITE "${HEADER}" "#define ZELMORA_UPDATE_KEY \"${key}\"\n")
