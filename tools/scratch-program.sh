# Sourced by the screenshot scripts (with root, out and the script as $0): builds, enters a
# private network namespace by running the script again there, and makes a scratch copy of
# the program folder the current directory, so no options or lists of yours are touched.
if [ "${FERN_IN_NETNS:-}" != "1" ]; then
    "$root/tools/build.sh"
    exec "$root/tools/in-netns.sh" "$0" "$out"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/build/bin/"*.exe "$root/build/bin/"*.dll "$work/"
cp -r "$root/build/bin/Resource" "$work/" 2>/dev/null || true
cd "$work"
