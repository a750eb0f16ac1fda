#!/usr/bin/env bash
# Fails when a source file includes a folder of src/ that its own folder may not use:
# each layer sees only the layers below it, so every arrow points down.
# Usage: checkincludes.sh SRC_DIR
set -u
src="${1:?usage: $0 SRC_DIR}"

allowed() {
    case "$1" in
    model) echo "" ;;
    mapfile | board) echo "model" ;;
    session) echo "model mapfile board" ;;
    painting) echo "model board session" ;;
    prompts) echo "model mapfile board session painting" ;;
    toolwindows | dialogs) echo "model mapfile board session painting prompts" ;;
    mainwindow) echo "model mapfile board session painting prompts toolwindows dialogs" ;;
    app | tools) echo "*" ;;
    *) echo "?" ;;
    esac
}

status=0
while IFS= read -r file; do
    folder="${file#"$src"/}"
    folder="${folder%%/*}"
    may="$(allowed "$folder")"
    if [ "$may" = "?" ]; then
        echo "$file: folder '$folder' has no place in the layers"
        status=1
        continue
    fi
    [ "$may" = "*" ] && continue
    while IFS= read -r target; do
        [ "$target" = "$folder" ] && continue
        case " $may " in
        *" $target "*) ;;
        *)
            echo "$file: $folder may not include $target/"
            status=1
            ;;
        esac
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^/"]*\)\/.*/\1/p' "$file")
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

# Board tools see only their context: of the session layer, the status line and each other.
while IFS= read -r file; do
    while IFS= read -r target; do
        case "$target" in
        session/tools/* | session/statusline.h) ;;
        session/*)
            echo "$file: a board tool may not include $target"
            status=1
            ;;
        esac
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\(session\/[^"]*\)".*/\1/p' "$file")
done < <(find "$src/session/tools" -type f \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort)

[ "$status" -eq 0 ] && echo "every include points down"
exit "$status"
