#!/usr/bin/env bash
# Every call into the operating system is in platform/: no source file elsewhere (tests,
# benchmarks and fuzzers aside, which poke the system on purpose) includes a system header, calls
# a function of the system's as ::name (, or asks which system it is built for. Prints each file and
# line that does, and fails.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$top"

# The headers a file outside platform/ may include by <name>: the C++ standard library's, less
# <csignal> and <filesystem>, which reach the system; the framework's modules; and libpng, which
# writes the artwork's pictures the same way on every system.
standard="algorithm any array atomic bitset cassert cctype cerrno cfenv cfloat charconv chrono cinttypes
climits clocale cmath codecvt complex condition_variable csetjmp cstdarg cstddef cstdint cstdio cstdlib
cstring ctime cuchar cwchar cwctype deque exception execution forward_list fstream functional future
initializer_list iomanip ios iosfwd iostream istream iterator limits list locale map memory
memory_resource mutex new numeric optional ostream queue random ratio regex scoped_allocator set
shared_mutex sstream stack stdexcept streambuf string string_view system_error thread tuple type_traits
typeindex typeinfo unordered_map unordered_set utility valarray variant vector"
allowed="^($(tr -s ' \n' '|' <<<"$standard" | sed 's/|$//')|juce_[a-z_]+/juce_[a-z_]+\.h|png\.h)$"

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' '*.hpp' '*.cc' '*.c' '*.mm')
else
    mapfile -t files < <(find . -path './build*' -prune -o -path ./out -prune -o \
        \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.cc' -o -name '*.c' -o -name '*.mm' \) -print |
        sed 's|^\./||')
fi

offences=0
checked=0
say() {
    echo "$1"
    offences=$((offences + 1))
}
for file in "${files[@]}"; do
    case "$file" in
    platform/* | tests/* | benchmarks/* | fuzz/*) continue ;;
    esac
    [[ -f "$file" ]] || continue
    checked=$((checked + 1))
    while IFS=: read -r line text; do
        header="$(sed 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\([^>]*\)>.*/\1/' <<<"$text")"
        [[ "$header" =~ $allowed ]] || say "$file:$line: includes <$header>, a header of the system's"
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<' "$file" || true)
    while IFS= read -r found; do
        say "$file:${found%%:*}: calls the system: ${found#*:}"
    done < <(grep -nE '(^|[^[:alnum:]_:>)])::[a-z_][a-z0-9_]*[[:space:]]*\(' "$file" || true)
    while IFS= read -r found; do
        say "$file:${found%%:*}: asks which system it runs on: ${found#*:}"
    done < <(grep -nE '\b(JUCE_(LINUX|MAC|WINDOWS|BSD|IOS|ANDROID)|__linux__|__APPLE__|_WIN32|__unix__|__FreeBSD__)\b' "$file" || true)
done

if ((checked == 0)); then
    echo "no source files found under $top"
    exit 1
fi
if ((offences > 0)); then
    echo "FAIL: $offences calls into the system outside platform/"
    exit 1
fi
echo "system calls: none in the $checked source files outside platform/, tests/, benchmarks/ and fuzz/"
