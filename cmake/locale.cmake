# The translations: each po/<language>.po compiled into ${LOCALE_DIR}/<language>/LC_MESSAGES/
# brikka.mo, beside the data folder as it is installed (share/brikka and share/locale), so the
# game finds them as "../locale" from its data in both trees. English is the message ids
# themselves and has no file.
set(LOCALE_DIR ${CMAKE_BINARY_DIR}/locale)
file(MAKE_DIRECTORY ${LOCALE_DIR})
file(GLOB PO_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/*.po)
find_program(MSGFMT_PROGRAM msgfmt)
set(LOCALE_OUTPUTS)
if(PO_FILES AND NOT MSGFMT_PROGRAM)
  message(FATAL_ERROR "msgfmt (Debian package gettext) is needed to build the translations")
endif()
foreach(po ${PO_FILES})
  get_filename_component(language ${po} NAME_WE)
  set(mo ${LOCALE_DIR}/${language}/LC_MESSAGES/brikka.mo)
  add_custom_command(OUTPUT ${mo}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LOCALE_DIR}/${language}/LC_MESSAGES
    COMMAND ${MSGFMT_PROGRAM} --check -o ${mo} ${po}
    DEPENDS ${po} VERBATIM)
  list(APPEND LOCALE_OUTPUTS ${mo})
endforeach()
add_custom_target(brikka_locale ALL DEPENDS ${LOCALE_OUTPUTS})

# Every translation complete and sound: no untranslated or fuzzy message, formats that match.
if(MSGFMT_PROGRAM)
  add_test(NAME po_complete
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/po/complete.sh ${CMAKE_SOURCE_DIR}/po)
  add_test(NAME po_template_current
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/po/current.sh ${CMAKE_SOURCE_DIR})
endif()
