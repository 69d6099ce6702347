#!/bin/bash
# Makes a directory of 100,000 empty files and one subdirectory for the
# hostile-input test, from the Linux side: created one by one through Wine,
# each new name costs a search of the whole directory.
#   tests/make-entries.sh DIRECTORY
set -u
directory=$1
count=100000
if [ -d "$directory/sub" ] && [ "$(find "$directory" -maxdepth 1 -type f | wc -l)" -eq $count ]; then
    exit 0
fi
rm -rf "$directory"
mkdir -p "$directory/sub" || exit 1
(cd "$directory" && seq 0 $((count - 1)) | xargs touch) || exit 1
echo "made $count files in $directory"
