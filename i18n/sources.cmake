# What lupdate reads: the folders whose texts the windows show. The engine marks its texts with WL_TR
# (context, text), read like QT_TRANSLATE_NOOP. Shared by the update target and the completeness check.
get_filename_component(wordloom_i18n_root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(WORDLOOM_I18N_DIRS app dialogs shell base forms collect translate strings_db exchange qa cli)
list(TRANSFORM WORDLOOM_I18N_DIRS PREPEND ${wordloom_i18n_root}/)
# The include path lets lupdate see the namespaces, so the contexts match the classes' names.
set(WORDLOOM_LUPDATE_OPTIONS -silent -I ${wordloom_i18n_root} -extensions h,cpp -locations none
                             -tr-function-alias QT_TRANSLATE_NOOP+=WL_TR,QT_TRANSLATE_NOOP+=WL_TR_NOOP)
