// Placeholder until the card service lands.
