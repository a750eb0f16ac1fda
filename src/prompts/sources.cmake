set(QZK_PROMPTS_SOURCES
    src/prompts/prompter.cpp src/prompts/prompter.h
)
