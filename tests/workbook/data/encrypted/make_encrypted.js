// Encrypts plain.xlsx (made by make_plain.py) with the password "Tessel-pw":
// standard.xlsx (ECMA-376 Standard: SHA-1, AES-128 ECB) and agile.xlsx (Agile: SHA-512, AES-256 CBC).
// Run with the package on the module path, e.g. after `npm install officecrypto-tool` in /tmp/oct:
//   NODE_PATH=/tmp/oct/node_modules node make_encrypted.js
const officeCrypto = require('officecrypto-tool');
const fs = require('fs');
const path = require('path');

const dir = process.argv[2] || __dirname;
const plain = fs.readFileSync(path.join(dir, 'plain.xlsx'));
fs.writeFileSync(path.join(dir, 'standard.xlsx'),
                 officeCrypto.encrypt(plain, {password: 'Tessel-pw', type: 'standard'}));
fs.writeFileSync(path.join(dir, 'agile.xlsx'), officeCrypto.encrypt(plain, {password: 'Tessel-pw'}));
