; The installer's own texts in its two languages (UTF-8 with a byte-order mark, so that makensis reads the Chinese
; as written). Included after the MUI_LANGUAGE lines, which define the language ids.
LangString TEXT_START_NOW ${LANG_ENGLISH} "Start Lumivex now"
LangString TEXT_START_NOW ${LANG_SIMPCHINESE} "立即启动 Lumivex"
LangString TEXT_AUTOSTART ${LANG_ENGLISH} "Start with Windows"
LangString TEXT_AUTOSTART ${LANG_SIMPCHINESE} "开机时自动启动"
LangString TEXT_REMOVE_SETTINGS ${LANG_ENGLISH} "Remove my settings and saved themes"
LangString TEXT_REMOVE_SETTINGS ${LANG_SIMPCHINESE} "删除我的设置和保存的主题"
; The value of the program's "Language" setting for the installer's language.
LangString PROGRAM_LANGUAGE ${LANG_ENGLISH} "en"
LangString PROGRAM_LANGUAGE ${LANG_SIMPCHINESE} "zh"
