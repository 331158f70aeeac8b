# Sourced by the scripts: the Wine environment the program is run and tested in.
# A 32-bit prefix with the zh_CN locale, so that the ANSI code page is 936.
export WINEPREFIX="${SETUP_WINEPREFIX:-$HOME/.cache/setup-installer/wine}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko prompts, and no menu entries or .desktop files written into $HOME.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=zh_CN.UTF-8
export LANG=zh_CN.UTF-8
