#!/bin/sh
# Starts Vantorel. The program keeps Config/ and log.txt beside itself, so it must run from a folder the
# user can write: an installed folder that is writable is used as it is; otherwise each user gets a copy
# of the installed application folder in $XDG_DATA_HOME/vantorel (~/.local/share/vantorel), refreshed
# whenever the installed programs change. Settings and the log in that copy are never overwritten.
set -eu
here=$(dirname "$(readlink -f "$0")")
shipped="$here/../lib/vantorel"
if [ ! -x "$shipped/vantorel" ]; then
    echo "vantorel: the application folder $shipped is missing; please reinstall Vantorel." >&2
    exit 1
fi
if [ -w "$shipped" ] && [ -w "$shipped/Config" ]; then
    exec "$shipped/vantorel" "$@"
fi
own="${XDG_DATA_HOME:-$HOME/.local/share}/vantorel"
mkdir -p "$own/Config"
for f in vantorel evc Res.dll Form.dll Help.html; do
    if ! cmp -s "$shipped/$f" "$own/$f"; then
        cp -f "$shipped/$f" "$own/$f.new" && mv -f "$own/$f.new" "$own/$f"
    fi
done
rm -rf "$own/Pictures.new"
cp -R "$shipped/Pictures" "$own/Pictures.new"
rm -rf "$own/Pictures"
mv "$own/Pictures.new" "$own/Pictures"
exec "$own/vantorel" "$@"
