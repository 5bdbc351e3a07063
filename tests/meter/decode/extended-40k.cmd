40k --hex --setmax +
