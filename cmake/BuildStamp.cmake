# Writes the build date and time (local time, or SOURCE_DATE_EPOCH when set) into OUTPUT,
# touching the file only when the text changes so that a build within the same minute
# recompiles nothing.
string(TIMESTAMP stamp "%m/%d/%Y %H:%M")
set(text "// Generated at build time.\nnamespace lumipad {\nconst char* buildStamp() { return \"${stamp}\"; }\n}  // namespace lumipad\n")
file(WRITE "${OUTPUT}.tmp" "${text}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
