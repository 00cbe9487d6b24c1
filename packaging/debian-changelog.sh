#!/bin/sh
# Writes the Debian changelog of the package from CHANGELOG.md.
#
#   debian-changelog.sh CHANGELOG.md PACKAGE VERSION MAINTAINER OUTPUT
#
# CHANGELOG.md holds one entry per release, newest first, each headed
# "## VERSION (YYYY-MM-DD)" and made of "- " items whose further lines are
# indented by two spaces. Each entry becomes
#
#   PACKAGE (VERSION) unstable; urgency=medium
#
#     * item
#       further line
#
#    -- MAINTAINER  <the date in RFC 5322 form, noon UTC; an older release of
#                    the same day a minute earlier each>
#
# Anything before the first entry is left out, and so are backticks. Fails,
# writing nothing, when the newest entry is not VERSION, when the entries are
# not newest first, when a line is not of the form above or when a line would
# be wider than 80 columns.
set -eu
[ $# -eq 5 ] || { echo "usage: $0 CHANGELOG.md PACKAGE VERSION MAINTAINER OUTPUT" >&2; exit 2; }
in=$1 package=$2 version=$3 maintainer=$4 out=$5

LC_ALL=C awk -v package="$package" -v version="$version" -v maintainer="$maintainer" '
function fail(message) {
    printf "%s:%d: %s\n", FILENAME, FNR, message > "/dev/stderr"
    failed = 1
    exit 1
}
function emit(line) {
    if (length(line) > 80) fail("the changelog line would be wider than 80 columns: " line)
    text = text line "\n"
}
function close_entry() {
    if (!entries) return
    if (!items) fail("the entry for " entry_version " lists no change")
    emit("")
    emit(" -- " maintainer "  " entry_date)
}
/^## / {
    if (!match($0, /^## [^ ]+ \([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]\)$/))
        fail("an entry is headed \"## VERSION (YYYY-MM-DD)\", not \"" $0 "\"")
    close_entry()
    entry_version = $2
    day = substr($3, 2, 10)
    if (!entries && entry_version != version)
        fail("the newest entry is " entry_version " but the version is " version \
             ": add an entry for " version " at the top")
    if (entries && day > last_day) fail("the entries are not newest first")
    # Releases of one day are a minute apart, the newest at noon: a Debian
    # changelog wants each entry later than the one before it.
    same_day = (entries && day == last_day) ? same_day + 1 : 0
    last_day = day
    command = "date -u -R -d \"" day " 12:00 UTC " same_day " minutes ago\""
    entry_date = ""
    if ((command | getline entry_date) <= 0 || entry_date == "") fail("not a date: " day)
    close(command)
    if (entries) emit("")
    emit(package " (" entry_version ") unstable; urgency=medium")
    emit("")
    entries++
    items = 0
    next
}
!entries { next }
/^[ \t]*$/ { next }
{ gsub(/`/, "") }
/^- / { emit("  * " substr($0, 3)); items++; next }
/^  [^ ]/ && items { emit("    " substr($0, 3)); next }
{ fail("a change is a \"- \" item, its further lines indented by two spaces: " $0) }
END {
    if (failed) exit 1
    if (!entries) { FNR = 0; fail("no entry headed \"## VERSION (YYYY-MM-DD)\"") }
    close_entry()
    if (failed) exit 1
    printf "%s", text
}
' "$in" > "$out.tmp" || { rm -f "$out.tmp"; exit 1; }
mv "$out.tmp" "$out"
