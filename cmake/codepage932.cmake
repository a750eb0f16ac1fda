# Code page 932 is one table built from Python's codec, the same on every system. Sets
# QZK_CODEPAGE932_TABLE (the generated sources) and QZK_GENERATED_DIR (their include dir).
include_guard(GLOBAL)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(QZK_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
set(QZK_CODEPAGE932_TABLE ${QZK_GENERATED_DIR}/model/codepage932table.cpp
                          ${QZK_GENERATED_DIR}/model/codepage932table.h)
add_custom_command(
    OUTPUT ${QZK_CODEPAGE932_TABLE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QZK_GENERATED_DIR}/model
    COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/gencodepage932.py
            ${QZK_CODEPAGE932_TABLE}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/gencodepage932.py
    COMMENT "Generating the code page 932 table")
