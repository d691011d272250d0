# Sourced by the run and test scripts: a headless (or real) display, a Wine prefix inside the build folder and a
# wineserver kept alive until lumivex_wine_stop, so every Wine start after the first is quick.
lumivex_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEPREFIX=${LUMIVEX_WINEPREFIX:-$lumivex_root/build/wine}
lumivex_xvfb_pid=""

# 32-bit Windows programs run on 32-bit Wine, which needs a kernel that runs i386 programs; some virtual machines
# have no IA32 emulation. There the 64-bit build of the same program stands in wherever a program must run.
lumivex_can_run_win32() {
    [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The Windows preset whose programs this machine can run: the shipped 32-bit build where possible.
lumivex_runnable_preset() {
    if lumivex_can_run_win32; then echo mingw-i686; else echo mingw-x64; fi
}

# Debian's `wine` always starts the 32-bit loader when it is installed, even for 64-bit programs, and the 32-bit
# loader is what hands them to wine64. Where it cannot run, `wine` (and `wine-stable`, which wineboot and winepath
# call) must start wine64 directly: a folder of two such commands goes first on the PATH.
if ! lumivex_can_run_win32 && [ -x /usr/lib/wine/wine64 ]; then
    lumivex_wine_shim=$lumivex_root/build/wine64-shim
    if [ ! -x "$lumivex_wine_shim/wine-stable" ]; then
        mkdir -p "$lumivex_wine_shim"
        for name in wine wine-stable; do
            printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
                >"$lumivex_wine_shim/$name"
            chmod +x "$lumivex_wine_shim/$name"
        done
    fi
    case ":$PATH:" in
        *":$lumivex_wine_shim:"*) ;;
        *) export PATH="$lumivex_wine_shim:$PATH" ;;
    esac
fi

lumivex_wine_start() {
    if [ -z "${DISPLAY:-}" ] || [ "${LUMIVEX_HEADLESS:-0}" = 1 ]; then
        # Xvfb picks a free display number itself, so several runs can share the machine.
        local fifo
        fifo=$(mktemp -u)
        mkfifo "$fifo"
        # setsid: a Ctrl+C in the terminal is for the script, which ends Lumivex first; Xvfb must not die of it
        # before then. The shell that becomes Xvfb writes its pid, which stays right even when setsid forks.
        local pidfile
        pidfile=$(mktemp)
        setsid sh -c 'echo $$ >"$1"; shift; exec "$@"' sh "$pidfile" \
            Xvfb -displayfd 3 -screen 0 ${LUMIVEX_SCREEN:-1280x800x24} -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
        local n
        read -r -t 20 n <"$fifo"
        rm -f "$fifo"
        lumivex_xvfb_pid=$(cat "$pidfile")
        rm -f "$pidfile"
        export DISPLAY=:$n
    fi
    mkdir -p "$WINEPREFIX"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Preparing the Wine prefix $WINEPREFIX ..." >&2
        setsid wineboot -i >/dev/null 2>&1 || true
    fi
    setsid wineserver -p 2>/dev/null || true
    setsid wineboot >/dev/null 2>&1 || true
    # Xvfb runs no window manager, and Wine waits two seconds for one each time a managed window is hidden (every
    # dialog closed, every tray icon deleted). Unmanaged windows behave the same for the programs and close at once.
    # With a real display the window manager frames and moves Wine's windows as usual.
    if [ -n "$lumivex_xvfb_pid" ]; then
        if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
        fi
    elif grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
        wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
    fi
}

# LUMIVEX_DPI=144 (for example) puts the prefix's screen at that DPI for every program started after this; Wine
# reads it when a program starts. The README's pictures at 150 % are taken so.
# Polls a command until it succeeds; quiet, true when it did within the time.
lumivex_wait_for() {  # seconds command...
    local until=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $until ] && return 1
        sleep 0.2
    done
}

lumivex_wine_dpi() {
    [ -n "${LUMIVEX_DPI:-}" ] || return 0
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$LUMIVEX_DPI" /f >/dev/null 2>&1 || true
}

lumivex_wine_stop() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    if [ -n "$lumivex_xvfb_pid" ]; then
        kill "$lumivex_xvfb_pid" 2>/dev/null || true
        wait "$lumivex_xvfb_pid" 2>/dev/null || true
        lumivex_xvfb_pid=""
    fi
}

# Chinese captions on screenshots: Tahoma falls back to WenQuanYi Micro Hei for the characters it lacks, as Windows
# links a CJK font to its dialog font.
lumivex_wine_cjk_fonts() {
    ln -sf /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$WINEPREFIX/drive_c/windows/Fonts/wqy-microhei.ttc"
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma /t REG_MULTI_SZ \
        /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
}
