# Prints, as one deb822 file, the deb-src entries that match the deb entries of apt's own
# sources for one Debian release, so that Debian's source packages come from the mirror the
# machine already installs from (a school's own mirror included), with the same key.
#
#   awk -v codename=bookworm -f deb-src-entries.awk /etc/apt/sources.list /etc/apt/sources.list.d/*.sources ...
#
# Files ending in .sources are read as deb822 stanzas, any other as one-line entries. Only
# the release's own suites (bookworm, bookworm-updates, bookworm-security) and only their
# main component are taken: the source packages the browser build needs are there, and
# other repositories (a vendor's "bookworm stable", a "nodistro") may have no sources.

function suites_of_release(suites,    n, i, s, out) {
    n = split(suites, s, /[ \t]+/)
    out = ""
    for (i = 1; i <= n; i++)
        if (s[i] == codename || s[i] == codename "-updates" || s[i] == codename "-security")
            out = out (out == "" ? "" : " ") s[i]
    return out
}

function has_main(components,    n, i, c) {
    n = split(components, c, /[ \t]+/)
    for (i = 1; i <= n; i++)
        if (c[i] == "main")
            return 1
    return 0
}

function trim(text) {
    sub(/^[ \t]+/, "", text)
    sub(/[ \t]+$/, "", text)
    return text
}

# Entries are kept until the end, where suites that already have a deb-src entry for the
# same address are left out.
function entry(type, uris, suites, components, signed_by, trusted,    n, u, i, picked) {
    picked = suites_of_release(suites)
    if (picked == "" || !has_main(components))
        return
    if (type == "deb-src") {
        n = split(uris, u, /[ \t]+/)
        for (i = 1; i <= n; i++)
            covered[u[i]] = covered[u[i]] " " picked " "
        return
    }
    entries++
    entry_uris[entries] = uris
    entry_suites[entries] = picked
    entry_signed_by[entries] = signed_by
    entry_trusted[entries] = trusted
}

function emit(uris, suites, signed_by, trusted,    n, s, i, left, stanza) {
    n = split(suites, s, " ")
    left = ""
    for (i = 1; i <= n; i++)
        if (!all_covered(uris, s[i]))
            left = left (left == "" ? "" : " ") s[i]
    if (left == "")
        return
    stanza = "Types: deb-src\nURIs: " uris "\nSuites: " left "\nComponents: main\n"
    if (signed_by != "")
        stanza = stanza "Signed-By:" (signed_by ~ /^\n/ ? "" : " ") signed_by "\n"
    if (trusted != "")
        stanza = stanza "Trusted: " trusted "\n"
    if (stanza in seen)
        return
    seen[stanza] = 1
    printf "%s%s", (printed++ ? "\n" : ""), stanza
}

function all_covered(uris, suite,    n, u, i) {
    n = split(uris, u, /[ \t]+/)
    for (i = 1; i <= n; i++)
        if (index(covered[u[i]], " " suite " ") == 0)
            return 0
    return 1
}

# ---------------------------------------------------------------- deb822 (.sources)

function clear_stanza() {
    split("", field)
    name = ""
}

function end_stanza(    n, t, i) {
    n = split(field["types"], t, /[ \t]+/)
    if (tolower(field["enabled"]) != "no")
        for (i = 1; i <= n; i++)
            if (t[i] == "deb" || t[i] == "deb-src")
                entry(t[i], field["uris"], field["suites"], field["components"], field["signed-by"], field["trusted"])
    clear_stanza()
}

# A field's value may go on over lines that start with a blank; an inline key in Signed-By
# keeps its lines as they are, the lists are joined into one line.
function deb822_line(line,    colon) {
    if (line ~ /^#/)
        return
    if (line ~ /^[ \t]*$/) {
        end_stanza()
        return
    }
    if (line ~ /^[ \t]/) {
        if (name == "signed-by")
            field[name] = field[name] "\n" line
        else if (name != "")
            field[name] = trim(field[name] " " trim(line))
        return
    }
    colon = index(line, ":")
    if (colon == 0)
        return
    name = tolower(trim(substr(line, 1, colon - 1)))
    field[name] = trim(substr(line, colon + 1))
}

# ---------------------------------------------------------------- one-line (.list)

# deb [ option=value ... ] uri suite [component ...]
function one_line(line,    n, t, i, o, type, options, signed_by, trusted, eq, key, components) {
    sub(/#.*/, "", line)
    n = split(line, t, /[ \t]+/)
    i = (t[1] == "") ? 2 : 1
    type = t[i++]
    if (type != "deb" && type != "deb-src")
        return
    if (substr(t[i], 1, 1) == "[") {
        options = ""
        while (i <= n) {
            options = options " " t[i]
            if (t[i++] ~ /\]$/)
                break
        }
        gsub(/[\[\]]/, " ", options)
        split(trim(options), o, /[ \t]+/)
        for (key in o) {
            eq = index(o[key], "=")
            if (tolower(substr(o[key], 1, eq - 1)) == "signed-by")
                signed_by = substr(o[key], eq + 1)
            if (tolower(substr(o[key], 1, eq - 1)) == "trusted")
                trusted = substr(o[key], eq + 1)
        }
    }
    components = ""
    for (key = i + 2; key <= n; key++)
        components = components " " t[key]
    entry(type, t[i], t[i + 1], components, signed_by, trusted)
}

FNR == 1 {
    if (NR > 1 && previous ~ /\.sources$/)
        end_stanza()
    previous = FILENAME
    clear_stanza()
}

FILENAME ~ /\.sources$/ { deb822_line($0); next }
{ one_line($0) }

END {
    if (previous ~ /\.sources$/)
        end_stanza()
    for (i = 1; i <= entries; i++)
        emit(entry_uris[i], entry_suites[i], entry_signed_by[i], entry_trusted[i])
}
