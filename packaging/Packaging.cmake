# The Debian package: `cpack -G DEB` in the build folder writes
# yuzaribo_1.0_<arch>.deb. Besides what the main list installs, the package
# carries the files Debian and software centres look for: the manual page,
# the AppStream metainfo, the copyright file and the changelog.

set(YUZARIBO_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(YUZARIBO_PACKAGING_OUT ${CMAKE_CURRENT_BINARY_DIR}/packaging)

# dpkg unpacks directories with the modes the archive gives them; do not let
# the builder's umask decide those.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Debian wants the manual page and the changelog compressed at the highest
# level and without a time stamp (-n), so that rebuilds give the same bytes.
find_program(YUZARIBO_GZIP gzip REQUIRED)
set(YUZARIBO_COMPRESSED)
foreach(doc yuzaribo.1 changelog)
  add_custom_command(
    OUTPUT ${YUZARIBO_PACKAGING_OUT}/${doc}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${YUZARIBO_PACKAGING_DIR}/${doc} ${YUZARIBO_PACKAGING_OUT}/${doc}
    COMMAND ${YUZARIBO_GZIP} -9nf ${YUZARIBO_PACKAGING_OUT}/${doc}
    DEPENDS ${YUZARIBO_PACKAGING_DIR}/${doc}
    COMMENT "Compressing ${doc}"
    VERBATIM)
  list(APPEND YUZARIBO_COMPRESSED ${YUZARIBO_PACKAGING_OUT}/${doc}.gz)
endforeach()
add_custom_target(yuzaribo-package-docs ALL DEPENDS ${YUZARIBO_COMPRESSED})

install(FILES ${YUZARIBO_PACKAGING_OUT}/yuzaribo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${YUZARIBO_PACKAGING_DIR}/io.github.yuzaribo.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The package is native (no Debian revision), so its changelog is changelog.gz.
install(FILES ${YUZARIBO_PACKAGING_DIR}/copyright ${YUZARIBO_PACKAGING_OUT}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME yuzaribo)
set(CPACK_PACKAGE_VENDOR Yuzaribo)
set(CPACK_PACKAGE_CONTACT "Yuzaribo <yuzaribo@example.jp>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese address book that prints lists, labels and postcards")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
Yuzaribo keeps an address book: for each person a name, a telephone
number, an e-mail address, a postal code, two address lines and a short
note, in Shift_JIS (CP932) CSV files. It prints an address list, address
labels, a telephone list and the address side of Japanese postcards,
written vertically, with a preview; from the command line it prints into
a PDF file or on a CUPS queue. The windows are in Japanese.

氏名・電話番号・メールアドレス・〒・住所・一言メモを管理する
住所録です。住所録一覧表・宛名ラベル・電話番号一覧表・
はがき宛名面（縦書き）をプレビューして印刷できます。]=])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The printouts name Windows faces that the IPA fonts stand in for, and the
# print queues come through the CUPS client library. Shlibdeps adds the rest.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, libcups2")
# The label sheets people buy come from the label programs' database, the
# postal codes from the SKK zip-code dictionary; without them the labels
# print on the program's own sheet and the postal lookups are off.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "glabels-data, skkdic-extra")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
include(CPack)

# Checks of the package and its metadata; they run with the rest of the suite.
enable_testing()
add_test(NAME package_desktop_entry
  COMMAND desktop-file-validate ${CMAKE_CURRENT_SOURCE_DIR}/resources/yuzaribo.desktop)
add_test(NAME package_metainfo
  COMMAND appstreamcli validate --no-net ${YUZARIBO_PACKAGING_DIR}/io.github.yuzaribo.metainfo.xml)
add_test(NAME package_deb
  COMMAND bash ${YUZARIBO_PACKAGING_DIR}/check-package.sh ${CMAKE_BINARY_DIR})
# Lintian alone takes a while on two cores.
set_tests_properties(package_deb PROPERTIES TIMEOUT 600)
