4k --hex
