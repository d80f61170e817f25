# Run over the roff that scdoc writes: words that hold a path, an option or a
# program name (a slash or a hyphen in them) get \% in front, so that no line
# ever ends in the middle of one, neither hyphenated nor at a hyphen of its
# own. Requests and macros (lines starting with a dot) are left as they are.
/^[.']/!s/\(^\|[[:space:]]\)\([^[:space:]]*[-/][^[:space:]]*\)/\1\\%\2/g
