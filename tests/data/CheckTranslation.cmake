# Fails while the English translation TS has an unfinished message: a text that update_translations
# found in the code and that has no English yet. Names each such text.
file(READ ${TS} ts)
string(FIND "${ts}" "type=\"unfinished\"" found)
if(NOT found EQUAL -1)
  string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"unfinished\"" unfinished "${ts}")
  list(JOIN unfinished "" unfinished)
  string(REGEX REPLACE "</source>[ \n]*<translation type=\"unfinished\"" "" unfinished "${unfinished}")
  string(REPLACE "<source>" "\n  " unfinished "${unfinished}")
  message(FATAL_ERROR "untranslated messages in ${TS}:${unfinished}")
endif()
if(NOT ts MATCHES "<translation>")
  message(FATAL_ERROR "no translated message in ${TS}")
endif()
