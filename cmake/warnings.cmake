# Every warning is an error, in every preset.
set(LUMORA_WARNINGS -Wall -Wextra -Werror -Wshadow -Wno-missing-field-initializers)
