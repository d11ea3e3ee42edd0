# The files made for installing: the manual pages and the changelog, compressed as Debian
# wants them, the bash, zsh and fish completions of quillet-cli and the AppStream metadata.
# quillet-cli's page and completions come from its table of options (quillet-cli-docs), so they
# follow --help.
find_program(QUILLET_GZIP gzip REQUIRED)
set(QUILLET_DOCS ${PROJECT_BINARY_DIR}/docs)
file(MAKE_DIRECTORY ${QUILLET_DOCS})

# The date the pages, the changelog and the release carry is the last commit's, so two builds
# of one commit make the same files; SOURCE_DATE_EPOCH, when set, decides instead.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(quillet_doc_epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git log -1 --format=%ct
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE quillet_doc_epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET)
  if(NOT quillet_doc_epoch MATCHES "^[0-9]+$")  # not a git checkout: today
    string(TIMESTAMP quillet_doc_epoch "%s" UTC)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${quillet_doc_epoch})  # string(TIMESTAMP) reads it
  set(quillet_epoch_set_here TRUE)
endif()
string(TIMESTAMP QUILLET_DOC_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP QUILLET_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
if(quillet_epoch_set_here)
  unset(ENV{SOURCE_DATE_EPOCH})
endif()

configure_file(${PROJECT_SOURCE_DIR}/resources/install/quillet.1 ${QUILLET_DOCS}/quillet.1 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/install/changelog.in ${QUILLET_DOCS}/changelog
               @ONLY)
set(QUILLET_METAINFO ${QUILLET_DOCS}/example.quillet.quillet.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/resources/install/quillet.metainfo.xml.in
               ${QUILLET_METAINFO} @ONLY)

add_custom_command(
  OUTPUT ${QUILLET_DOCS}/quillet-cli.1
  COMMAND quillet-cli-docs man ${PROJECT_VERSION} ${QUILLET_DOC_DATE} ${QUILLET_DOCS}/quillet-cli.1
  DEPENDS quillet-cli-docs
  COMMENT "Writing the manual page of quillet-cli")
# Each shell's completion under the name its completion system looks for.
set(QUILLET_COMPLETIONS ${QUILLET_DOCS}/completions)
file(MAKE_DIRECTORY ${QUILLET_COMPLETIONS}/bash ${QUILLET_COMPLETIONS}/zsh ${QUILLET_COMPLETIONS}/fish)
set(QUILLET_BASH_COMPLETION ${QUILLET_COMPLETIONS}/bash/quillet-cli)
set(QUILLET_ZSH_COMPLETION ${QUILLET_COMPLETIONS}/zsh/_quillet-cli)
set(QUILLET_FISH_COMPLETION ${QUILLET_COMPLETIONS}/fish/quillet-cli.fish)
foreach(shell bash zsh fish)
  string(TOUPPER ${shell} shell_upper)
  add_custom_command(
    OUTPUT ${QUILLET_${shell_upper}_COMPLETION}
    COMMAND quillet-cli-docs completion ${shell} ${QUILLET_${shell_upper}_COMPLETION}
    DEPENDS quillet-cli-docs
    COMMENT "Writing the ${shell} completion of quillet-cli")
endforeach()

# -n leaves the name and time out of the header, so the result depends on the text alone.
set(quillet_compressed)
foreach(file quillet.1 quillet-cli.1 changelog)
  add_custom_command(
    OUTPUT ${QUILLET_DOCS}/${file}.gz
    COMMAND ${QUILLET_GZIP} -9n -c ${QUILLET_DOCS}/${file} > ${QUILLET_DOCS}/${file}.gz
    DEPENDS ${QUILLET_DOCS}/${file})
  list(APPEND quillet_compressed ${QUILLET_DOCS}/${file}.gz)
endforeach()
add_custom_target(quillet_docs ALL DEPENDS ${quillet_compressed} ${QUILLET_BASH_COMPLETION}
                                          ${QUILLET_ZSH_COMPLETION} ${QUILLET_FISH_COMPLETION})
