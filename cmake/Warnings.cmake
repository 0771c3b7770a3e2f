# Every target of the project builds -Wall -Wextra clean.
add_compile_options(-Wall -Wextra)
