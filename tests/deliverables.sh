#!/usr/bin/env bash
# The programs are 64-bit GUI executables that import nothing but Windows
# itself: a user copies the files and nothing else.
set -u
bin=$1
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
# System DLLs the programs may import; anything else (a MinGW runtime DLL above
# all) would be missing on a user's machine.
# comctl32 (control subclassing) and oleacc (answering screen readers) ship with every Windows.
allowed=" kernel32.dll user32.dll gdi32.dll msvcrt.dll winmm.dll opengl32.dll glu32.dll comdlg32.dll comctl32.dll shell32.dll ole32.dll oleaut32.dll oleacc.dll msimg32.dll advapi32.dll "
failed=0
passed=0
for program in Orvane.scr Orvane.dll OrvaneSettings.exe; do
  path="$bin/$program"
  if file "$path" | grep -q 'PE32+ executable (GUI) x86-64'; then
    passed=$((passed + 1))
  else
    echo "FAIL - $program is not a PE32+ GUI x86-64 program: $(file -b "$path")"
    failed=$((failed + 1))
  fi
  for dll in $("$objdump" -p "$path" | awk '/DLL Name:/ {print tolower($3)}'); do
    if [[ "$allowed" == *" $dll "* ]]; then
      passed=$((passed + 1))
    else
      echo "FAIL - $program imports $dll"
      failed=$((failed + 1))
    fi
  done
done
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
